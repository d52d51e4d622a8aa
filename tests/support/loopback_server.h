#pragma once

#include <string>
#include <thread>
#include <vector>

// A one-connection HTTP stand-in on 127.0.0.1: it reads a whole request (headers and
// Content-Length bytes of body), answers with the given pieces and closes.
class LoopbackServer {
  public:
    explicit LoopbackServer(std::vector<std::string> replyPieces);
    ~LoopbackServer();
    unsigned short Port() const { return port_; }
    // Waits for the connection to end and returns what the client sent; call it once the
    // client is done, so that no connection means none will come.
    std::string Received();

  private:
    void Serve();
    int listener_ = -1;
    int stopPipe_[2] = {-1, -1};
    unsigned short port_ = 0;
    std::vector<std::string> replyPieces_;
    std::string received_;
    std::thread thread_;
};

// A loopback port on which nothing listens, so a connection there is refused.
unsigned short RefusingPort();

// The upload request the program sends straight to 127.0.0.1 for body.
std::string DirectRequest(const std::string& body);

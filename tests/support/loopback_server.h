#pragma once

#include "hiscores/upload/server.h"

#include <string>
#include <thread>
#include <vector>

// An HTTP stand-in on 127.0.0.1 (at port, or at a free one): for each connection it reads
// a whole request (headers and Content-Length bytes of body), answers with the given pieces
// and closes, or, told to stall, keeps the connection open without a further word. Past
// answeredRequests (when not negative) it closes without an answer.
class LoopbackServer {
  public:
    explicit LoopbackServer(std::vector<std::string> replyPieces, bool stall = false,
                            int answeredRequests = -1, unsigned short port = 0);
    ~LoopbackServer();
    unsigned short Port() const { return port_; }
    // The requests received, in order. Call it once the client is done: it stops the
    // server, and no connection by then means none will come.
    std::vector<std::string> Requests();
    // The bodies of the requests received, in order; a request that is not what the
    // program sends straight to 127.0.0.1 for its body stays whole, so that it shows.
    std::vector<std::string> Bodies();

  private:
    void Serve();
    int listener_ = -1;
    int stopPipe_[2] = {-1, -1};
    unsigned short port_ = 0;
    std::vector<std::string> replyPieces_;
    bool stall_ = false;
    int answeredRequests_ = -1;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A loopback port on which nothing listens, so a connection there is refused.
unsigned short RefusingPort();

// A loopback port where connection attempts go unanswered, as behind a firewall that
// drops them: its listener accepts nothing, and one connection of its own fills the queue.
class UnansweringPort {
  public:
    UnansweringPort();
    ~UnansweringPort();
    unsigned short Port() const { return port_; }

  private:
    int listener_ = -1;
    int filler_ = -1;
    unsigned short port_ = 0;
};

// The upload server at 127.0.0.1 and port, with the website's path and user agent, and
// limits that hold for loopback connections.
hiscores::UploadServer LoopbackUploadServer(unsigned short port, int stallMilliseconds = 5000);

// The upload request the program sends to host for body, straight or through a proxy.
std::string UploadRequest(const std::string& body, bool viaProxy = false,
                          const std::string& host = "127.0.0.1");

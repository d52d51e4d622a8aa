#pragma once

// A stand-in for the user's proxy settings: tests say what they hold.
namespace hiscores::testing {

void SetProxySettings(const char* server, int enable);
void ClearProxySettings();
// How many times the program read the settings.
int ProxySettingsReads();

} // namespace hiscores::testing

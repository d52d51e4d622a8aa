#pragma once

// A stand-in for the user's Internet settings: tests say what they hold.
namespace stand_in {

void SetInternetSettings(const char* proxyServer, unsigned long proxyEnable);
// As when the values cannot be read.
void ClearInternetSettings();
// How many times the program read the settings.
int InternetSettingsReads();

} // namespace stand_in

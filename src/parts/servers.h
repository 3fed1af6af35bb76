// The two avatar image servers. Each host is a constant here, overridden by a
// string registry value ("PartServer", "AvatarServer") of the portal's key
// below HKEY_CURRENT_USER, written as "host" or "host:port".
#pragma once

#include <string>

extern const char kDefaultPartServer[];
extern const char kDefaultAvatarServer[];

// "host" or "host:port": the override if it is a valid host, else the constant.
std::string PartServerHost();
std::string AvatarServerHost();

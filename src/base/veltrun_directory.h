// The portal's home directory, from the registry value "Home" of
// HKEY_CURRENT_USER\Software\Veltrun.Com\KOREAN.
#pragma once

// buffer holds at least 260 bytes. 0 when the key cannot be opened (buffer
// untouched); 1 otherwise, with the value, or the empty string when the value
// is missing, not a string or longer than 259 characters (a value stored
// without its terminator gets one).
int GetVeltrunDirectory(char* buffer);

// What a program file imports, read from its PE headers.
#pragma once

#include <string>
#include <vector>

// The DLL names in the import table (and the delay-load table) of a 64-bit
// PE file; false when the file cannot be read or is no such file.
bool ReadImportedDlls(const std::string& path, std::vector<std::string>& dlls);

// True when the DLL is one of the system's own: present in its system folder.
bool IsSystemDll(const std::string& name);

#include "pe_image.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

using Bytes = std::vector<unsigned char>;

template <class T>
bool ReadAt(const Bytes& file, std::size_t offset, T& value) {
  if (offset > file.size() || file.size() - offset < sizeof(T)) return false;
  std::memcpy(&value, file.data() + offset, sizeof(T));
  return true;
}

// File offset of a relative virtual address, through the section table.
bool OffsetOf(const std::vector<IMAGE_SECTION_HEADER>& sections, DWORD rva, std::size_t& offset) {
  for (const IMAGE_SECTION_HEADER& s : sections) {
    DWORD size = s.Misc.VirtualSize ? s.Misc.VirtualSize : s.SizeOfRawData;
    if (rva >= s.VirtualAddress && rva < s.VirtualAddress + size) {
      offset = rva - s.VirtualAddress + s.PointerToRawData;
      return true;
    }
  }
  return false;
}

bool ReadName(const Bytes& file, std::size_t offset, std::string& name) {
  name.clear();
  while (offset < file.size() && file[offset] != 0) name.push_back(static_cast<char>(file[offset++]));
  return offset < file.size();
}

}  // namespace

bool ReadImportedDlls(const std::string& path, std::vector<std::string>& dlls) {
  dlls.clear();
  std::ifstream in(path, std::ios::binary);
  Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

  IMAGE_DOS_HEADER dos;
  IMAGE_NT_HEADERS64 nt;
  if (!ReadAt(file, 0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) return false;
  if (!ReadAt(file, static_cast<std::size_t>(dos.e_lfanew), nt) || nt.Signature != IMAGE_NT_SIGNATURE ||
      nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
    return false;

  std::vector<IMAGE_SECTION_HEADER> sections(nt.FileHeader.NumberOfSections);
  std::size_t sectionTable = static_cast<std::size_t>(dos.e_lfanew) +
                             offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                             nt.FileHeader.SizeOfOptionalHeader;
  for (std::size_t i = 0; i < sections.size(); ++i)
    if (!ReadAt(file, sectionTable + i * sizeof(IMAGE_SECTION_HEADER), sections[i])) return false;

  const IMAGE_DATA_DIRECTORY& imports = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::size_t offset = 0;
  if (imports.VirtualAddress && OffsetOf(sections, imports.VirtualAddress, offset)) {
    for (IMAGE_IMPORT_DESCRIPTOR entry; ReadAt(file, offset, entry) && entry.Name; offset += sizeof entry) {
      std::size_t nameOffset = 0;
      std::string name;
      if (!OffsetOf(sections, entry.Name, nameOffset) || !ReadName(file, nameOffset, name)) return false;
      dlls.push_back(name);
    }
  }
  const IMAGE_DATA_DIRECTORY& delayed = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT];
  if (delayed.VirtualAddress && OffsetOf(sections, delayed.VirtualAddress, offset)) {
    for (IMAGE_DELAYLOAD_DESCRIPTOR entry; ReadAt(file, offset, entry) && entry.DllNameRVA;
         offset += sizeof entry) {
      std::size_t nameOffset = 0;
      std::string name;
      if (!OffsetOf(sections, entry.DllNameRVA, nameOffset) || !ReadName(file, nameOffset, name))
        return false;
      dlls.push_back(name);
    }
  }
  return true;
}

bool IsSystemDll(const std::string& name) {
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  std::string path = std::string(system) + "\\" + name;
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

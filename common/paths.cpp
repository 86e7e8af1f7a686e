#include "paths.h"

namespace {

bool IsSeparator(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

// Skips separators and empty quoted arguments; returns the position of the
// next argument, or text.size() when there is none.
std::size_t SkipToArgument(std::string_view text, std::size_t i) {
  for (;;) {
    while (i < text.size() && IsSeparator(text[i])) ++i;
    if (i + 1 < text.size() && text[i] == '"' && text[i + 1] == '"') {
      i += 2;
      continue;
    }
    return i;
  }
}

// Reads one argument from position i, dropping its quotes; returns the
// position after it.
std::size_t ReadArgument(std::string_view text, std::size_t i, ArgumentText* argument) {
  while (i < text.size() && text[i] != '\0' && !IsSeparator(text[i])) {
    if (text[i] == '"') {
      ++i;
      while (i < text.size() && text[i] != '\0' && text[i] != '"') {
        if (argument) argument->Append(text[i]);
        ++i;
      }
      if (i < text.size() && text[i] == '"') ++i;
    } else {
      if (argument) argument->Append(text[i]);
      ++i;
    }
  }
  return i;
}

std::size_t LastSeparatorEnd(std::string_view path) {
  std::size_t end = 0;
  for (std::size_t i = 0; i < path.size(); ++i)
    if (path::IsSeparator(path[i]) || path[i] == ':') end = i + 1;
  return end;
}

}  // namespace

bool FirstArgument(std::string_view commandLine, ArgumentText& argument) {
  argument.Clear();
  commandLine = UpToFirstNul(commandLine);
  std::size_t i = SkipToArgument(commandLine, 0);
  i = ReadArgument(commandLine, i, nullptr);  // the program's own name
  i = SkipToArgument(commandLine, i);
  if (i >= commandLine.size()) return false;
  ReadArgument(commandLine, i, &argument);
  return !argument.empty();  // a lone quote at the end gives nothing either
}

std::string_view FileNamePart(std::string_view path) {
  std::size_t start = LastSeparatorEnd(path);
  return std::string_view(path.data() + start, path.size() - start);
}

std::string_view DirectoryPart(std::string_view path) {
  return std::string_view(path.data(), LastSeparatorEnd(path));
}

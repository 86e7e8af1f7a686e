// Fixed-capacity text kept inline. The programs have fixed-size data everywhere
// (names of 40, commands of 255, paths of MAX_PATH), so their texts live in
// buffers of known size instead of on the heap; nothing here can fail or throw.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

template <std::size_t Capacity>
class FixedText {
 public:
  FixedText() { chars_[0] = '\0'; }
  explicit FixedText(std::string_view text) : FixedText() { Append(text); }

  // Appends as much of the text as fits; what does not fit is dropped and
  // remembered, so that a caller can refuse a text that was cut (a path, say).
  FixedText& Append(std::string_view text) {
    std::size_t room = Capacity - size_;
    std::size_t n = text.size() < room ? text.size() : room;
    if (n > 0) std::memcpy(chars_ + size_, text.data(), n);
    size_ += n;
    chars_[size_] = '\0';
    if (n < text.size()) cut_ = true;
    return *this;
  }
  FixedText& Append(char c) { return Append(std::string_view(&c, 1)); }

  void Clear() {
    size_ = 0;
    chars_[0] = '\0';
    cut_ = false;
  }
  // Drops everything from position `size` on.
  void Truncate(std::size_t size) {
    if (size < size_) {
      size_ = size;
      chars_[size_] = '\0';
    }
  }

  // The text may hold NUL characters; c_str() hands it over as NUL-terminated
  // text, which ends at the first of them.
  const char* c_str() const { return chars_; }
  char* data() { return chars_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::string_view view() const { return {chars_, size_}; }
  operator std::string_view() const { return view(); }
  // True when an Append had to drop characters.
  bool WasCut() const { return cut_; }
  static constexpr std::size_t capacity() { return Capacity; }

  // For a caller that has written into data() (a platform call that fills a
  // buffer): takes the text up to its first NUL.
  void TakeCString() {
    chars_[Capacity] = '\0';
    size_ = std::strlen(chars_);
  }

  friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }
  friend bool operator!=(const FixedText& a, std::string_view b) { return a.view() != b; }

 private:
  // Only the text and its NUL are written: a large buffer on the stack costs
  // no more memory than the text it holds.
  char chars_[Capacity + 1];
  std::size_t size_ = 0;
  bool cut_ = false;
};

// The part of a text before its first NUL character (all of it when it has none).
inline std::string_view UpToFirstNul(std::string_view text) {
  std::size_t nul = text.find('\0');
  return std::string_view(text.data(), nul == std::string_view::npos ? text.size() : nul);
}

// A message for the user: far more than any message box shows.
using MessageText = FixedText<1023>;

// Appends the decimal digits of a number.
template <std::size_t Capacity>
FixedText<Capacity>& AppendDecimal(FixedText<Capacity>& text, unsigned long long number) {
  char digits[20];  // of the largest 64-bit number
  std::size_t start = sizeof digits;
  do {
    digits[--start] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number > 0);
  return text.Append(std::string_view(digits + start, sizeof digits - start));
}

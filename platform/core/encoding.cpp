#include "telmar/encoding.h"

#include <cerrno>
#include <iconv.h>

namespace telmar {
namespace {

// One conversion descriptor per call: iconv_t is not safe to share between
// threads, and conversions here are short.
class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
    if (m_cd == reinterpret_cast<iconv_t>(-1)) {
      throw EncodingError(std::string("no conversion from ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(m_cd); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts the whole input; on a bad sequence either throws or, when
  // `replacement` is given, emits it and skips one input byte.
  std::string Run(const char* data, std::size_t size, const std::string* replacement) {
    std::string out;
    char buffer[512];
    char* in = const_cast<char*>(data);
    std::size_t inLeft = size;
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t rc = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
      if (rc != static_cast<std::size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      if (!replacement) throw EncodingError("text is not valid in its code page");
      out += *replacement;
      ++in;
      --inLeft;
      iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    return out;
  }

 private:
  iconv_t m_cd;
};

const char* const kGbk = "GBK";
const char* const kUtf16 = "UTF-16LE";

}  // namespace

std::string GbkToUtf8(const std::string& gbk) {
  return Converter("UTF-8", kGbk).Run(gbk.data(), gbk.size(), nullptr);
}

std::string GbkToUtf8Lossy(const std::string& gbk) {
  const std::string replacement = "\xEF\xBF\xBD";
  return Converter("UTF-8", kGbk).Run(gbk.data(), gbk.size(), &replacement);
}

std::string Utf8ToGbk(const std::string& utf8) {
  return Converter(kGbk, "UTF-8").Run(utf8.data(), utf8.size(), nullptr);
}

std::u16string GbkToUtf16(const std::string& gbk) {
  const std::string bytes = Converter(kUtf16, kGbk).Run(gbk.data(), gbk.size(), nullptr);
  std::u16string out(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return out;
}

std::string Utf16ToGbk(const std::u16string& utf16) {
  std::string bytes;
  bytes.reserve(utf16.size() * 2);
  for (char16_t unit : utf16) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return Converter(kGbk, kUtf16).Run(bytes.data(), bytes.size(), nullptr);
}

}  // namespace telmar

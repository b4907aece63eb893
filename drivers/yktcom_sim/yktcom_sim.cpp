// A simulated card reader, so that a station runs without hardware.
//
//   YKT_CARD=KIND:AGENT:NUMBER  the card on the reader (unset: no card)
//   YKT_PIN=PIN or PIN1,PIN2    the PIN keyed in at each prompt, in order;
//                               one PIN serves every prompt. Unset, the PIN
//                               is read from the terminal without echo.
//   YKT_SIM_LOG=FILE            appends one line per load, call and unload
#include <fcntl.h>
#include <iconv.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "yktcom.h"

namespace {

constexpr std::size_t kCardDataSize = 90;

// The PIN list restarts with each load of the library: one load serves the
// prompts of one card read.
std::size_t g_nextPin = 0;

void Log(const std::string& line) {
  const char* path = std::getenv("YKT_SIM_LOG");
  if (!path || !*path) return;
  if (FILE* file = std::fopen(path, "a")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
}

std::vector<std::string> Split(const std::string& text, char separator, std::size_t maxParts) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (parts.size() + 1 < maxParts) {
    const auto pos = text.find(separator, start);
    if (pos == std::string::npos) break;
    parts.push_back(text.substr(start, pos - start));
    start = pos + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

// Writes the text and its NUL at `offset`, cut to the buffer; a text that is
// too long for its field runs into the next one, as a faulty card would.
void PutField(char* buffer, std::size_t offset, const std::string& text) {
  const std::size_t room = kCardDataSize - 1 - offset;
  const std::size_t length = text.size() < room ? text.size() : room;
  std::memcpy(buffer + offset, text.data(), length);
  buffer[offset + length] = '\0';
}

std::string GbkToUtf8(const char* gbk) {
  iconv_t cd = iconv_open("UTF-8", "GBK");
  if (cd == reinterpret_cast<iconv_t>(-1)) return gbk;
  std::string out(std::strlen(gbk) * 2 + 1, '\0');
  char* in = const_cast<char*>(gbk);
  std::size_t inLeft = std::strlen(gbk);
  char* outPtr = &out[0];
  std::size_t outLeft = out.size();
  iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

bool ReadPinFromTerminal(const char* prompt, std::string& pin) {
  const int tty = open("/dev/tty", O_RDWR | O_NOCTTY);
  if (tty < 0) return false;
  const std::string shown = GbkToUtf8(prompt ? prompt : "");
  if (write(tty, shown.data(), shown.size()) < 0) {
    close(tty);
    return false;
  }
  termios saved;
  const bool hasTermios = tcgetattr(tty, &saved) == 0;
  if (hasTermios) {
    termios quiet = saved;
    quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
    tcsetattr(tty, TCSAFLUSH, &quiet);
  }
  char ch;
  while (read(tty, &ch, 1) == 1 && ch != '\n' && ch != '\r') pin += ch;
  if (hasTermios) tcsetattr(tty, TCSAFLUSH, &saved);
  if (write(tty, "\n", 1) < 0) {
    // the PIN was read; a lost line feed changes nothing
  }
  close(tty);
  return true;
}

bool NextPin(const char* prompt, std::string& pin) {
  const char* pins = std::getenv("YKT_PIN");
  if (!pins) return ReadPinFromTerminal(prompt, pin);
  const std::vector<std::string> list = Split(pins, ',', static_cast<std::size_t>(-1));
  if (list.size() == 1) {
    pin = list.front();
    return true;
  }
  if (g_nextPin >= list.size()) return false;
  pin = list[g_nextPin++];
  return true;
}

__attribute__((constructor)) void OnLoad() { Log("load"); }
__attribute__((destructor)) void OnUnload() { Log("unload"); }

}  // namespace

extern "C" int ReadCardExport(char* cardData90) {
  Log("ReadCardExport");
  const char* card = std::getenv("YKT_CARD");
  if (!card || !cardData90) return 0;
  const std::vector<std::string> fields = Split(card, ':', 3);
  std::memset(cardData90, 0, kCardDataSize);
  PutField(cardData90, 0, fields[0]);
  PutField(cardData90, 2, fields.size() > 1 ? fields[1] : std::string());
  PutField(cardData90, 9, fields.size() > 2 ? fields[2] : std::string());
  return 1;
}

extern "C" int CheckPwdExport(const char* password, const char* prompt) {
  Log(std::string("CheckPwdExport ") + GbkToUtf8(prompt ? prompt : ""));
  std::string pin;
  if (!NextPin(prompt, pin)) return 0;
  return password && pin == password ? 1 : 0;
}

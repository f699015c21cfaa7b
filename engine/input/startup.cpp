// The start of a run: the start screen, the pause, DXS.DAT and the "end"
// command, and the echo of the text as read.
#include <cmath>

#include "engine/engine.h"

namespace pfac {

namespace {

constexpr char kMakerLine[] = "pfac - factoring over Q";

// DXS.DAT holds one line; more than this is never a polynomial the engine takes.
constexpr size_t kPolynomialFileLimit = 4 << 20;

// The text with every control character and every byte that is not part of a
// valid UTF-8 character replaced by "?", so that echoing what a file holds
// cannot steer the terminal.
std::string Printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    int width = 0;
    size_t len = GlyphAt(text, i, &width);
    unsigned char first = static_cast<unsigned char>(text[i]);
    bool valid = width > 0 && (len > 1 || first < 0x80);
    // C1 control characters, U+0080..U+009F, are two bytes C2 80..C2 9F.
    if (len == 2 && first == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) valid = false;
    if (valid) {
      out.append(text.substr(i, len));
    } else {
      out += '?';
    }
    i += len;
  }
  return out;
}

}  // namespace

void Engine::ShowBanner() {
  console_.Clear();
  console_.Locate(4, 30);
  console_.WriteLine("因 式 分 解 ");
  console_.Locate(5, 29);
  console_.WriteLine("-------------");
  console_.Locate(6, 33);
  console_.WriteLine(kMakerLine);
  Go(&Engine::StartupPause);
}

// A short pause before the file is read: a float counter runs up to 200,000,
// kPauseStride at a time. A pause is what is wanted here, not its length;
// counting one by one would take a third of a millisecond, a sixth of a whole
// run on a textbook polynomial. The empty asm keeps the compiler from folding
// the loop away.
void Engine::StartupPause() {
  constexpr float kPauseStride = 100.0f;
  float counter = 1;
  while (counter < 200000.0f) {
    counter = counter + kPauseStride;
    asm volatile("" : "+x"(counter));
  }
  Go(&Engine::ReadPolynomialFile);
}

void Engine::ReadPolynomialFile() {
  std::filesystem::path path = PathOf("DXS.DAT");
  std::error_code error;
  std::string text;
  if (!std::filesystem::exists(path, error)) {
    ConsoleEnd();
    StopRun("找不到多项式文件 DXS.DAT. (The polynomial file DXS.DAT was not found.)");
    return;
  }
  if (!ReadFilePrefix(path, kPolynomialFileLimit, &text)) {
    ConsoleEnd();
    StopRun("无法读取多项式文件 DXS.DAT. (The polynomial file DXS.DAT cannot be read.)");
    return;
  }
  if (text.empty()) {
    ConsoleEnd();
    StopRun("多项式文件 DXS.DAT 是空的. (The polynomial file DXS.DAT is empty.)");
    return;
  }
  PolynomialText = FirstFieldOfFirstLine(text);
  ConsoleEnd();
  Go(&Engine::CheckEndCommand);
}

void Engine::CheckEndCommand() {
  if (PolynomialText == "end") {
    CloseAllFiles();
    console_.WriteLine("结束");
    Go(&Engine::ClosingLines);
    return;
  }
  Go(&Engine::EchoInput);
}

void Engine::EchoInput() {
  console_.WriteLine(Printable(PolynomialText));
  ConsoleEnd();
  Go(&Engine::ProtectExponentLetters);
}

}  // namespace pfac

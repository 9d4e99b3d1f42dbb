// The one buffer of typed text of the program.
#include "platform/typed_text.h"

std::string TypedText;

void AppendTypedText(const std::string& text) {
  TypedText += text;
  if (TypedText.size() <= TypedTextLimit) return;
  size_t cut = TypedText.size() - TypedTextLimit;
  // Past the continuation bytes of a character cut in two.
  while (cut < TypedText.size() && (static_cast<unsigned char>(TypedText[cut]) & 0xC0) == 0x80)
    ++cut;
  TypedText.erase(0, cut);
}

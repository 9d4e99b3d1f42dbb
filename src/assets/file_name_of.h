// File names the game makes from a player's text (track, car and player names): safe on any
// file system and never too long, so a file named after a long name can still be written.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

// The longest file name FileNameOf gives, in bytes (file systems allow 255).
constexpr size_t FileNameLongest = 200;

// `text` with every byte but letters, digits and '_' written as %XX: two texts never share one.
std::string EscapedFileName(std::string_view text);

// The file name of `parts`, each escaped, joined by '-', then `extension` (".ghost"). A name
// longer than FileNameLongest bytes is cut (never inside a %XX) and given "-" and eight hex
// digits of a hash of the whole before the extension, so two long names stay apart.
std::string FileNameOf(std::initializer_list<std::string_view> parts, std::string_view extension);

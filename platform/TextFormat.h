#pragma once
#include <string>
#include <string_view>

// printf-style formatting of the program's message texts; always uses '.' as the decimal
// point whatever locale the toolkit has set.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Locale-independent number parsing. Leading and trailing blanks are allowed; anything else
// that is not part of the number makes the parse fail and leaves `out` unchanged.
bool ParseInt(std::string_view text, int& out);
bool ParseLong64(std::string_view text, long long& out);
bool ParseDouble(std::string_view text, double& out);

// Documents and stored Windows structures hold Windows-1252 text; the program holds UTF-8.
// Characters outside Windows-1252 become '?'.
std::string Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view cp1252);
// One Windows-1252 byte as a code point; the five unassigned bytes give U+FFFD.
char32_t Cp1252CodePoint(unsigned char byte);
// Appends a code point as UTF-8; surrogates and values past U+10FFFF become U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

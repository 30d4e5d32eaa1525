// CharSet.cpp: character set scans, the global sets and translation tables.
#include "support/CharSet.h"

#include <cstring>

constinit const CharSet AllChars(true);
constinit const CharSet NoChars;
constinit const CharSet UpperChars("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
constinit const CharSet LowerChars("abcdefghijklmnopqrstuvwxyz");
constinit const CharSet DigitChars("0123456789");
constinit const CharSet WhiteChars(" \n\t\v\b\r\f");
constinit const CharSet NameChars(
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._");

const char* CharSet::FirstIn(const char* text) const {
  const char* p = text;
  while (*p && !Contains(*p)) ++p;
  return p;
}

const char* CharSet::SkipIn(const char* text) const {
  const char* p = text;
  while (Contains(*p)) ++p;
  return p;
}

const char* CharSet::LastIn(const char* text) const {
  for (size_t i = std::strlen(text); i > 0; --i)
    if (Contains(text[i - 1])) return text + i - 1;
  return nullptr;
}

const char* CharSet::LastNotIn(const char* text) const {
  for (size_t i = std::strlen(text); i > 0; --i)
    if (!Contains(text[i - 1])) return text + i - 1;
  return nullptr;
}

#pragma once

// Keyboard mnemonics for captions that the program does not write itself (program texts, texts
// that change with the command): an ampersand in them stands for itself, and a letter that the
// window's other controls leave free is marked.

#include <QString>

namespace Mnemonic {

// text with each "&" doubled and "&" put before its first letter that is not in taken (case does
// not matter): the first letter of a word before any other. Without a free letter the text only
// has its ampersands doubled.
inline QString Marked(const QString& text, const QString& taken) {
  QString escaped = text;
  escaped.replace(QStringLiteral("&"), QStringLiteral("&&"));
  const auto isFree = [&](qsizetype i) {
    const QChar c = escaped.at(i);
    return c.isLetterOrNumber() && !taken.contains(c, Qt::CaseInsensitive);
  };
  for (const bool wordStartsOnly : {true, false}) {
    for (qsizetype i = 0; i < escaped.size(); ++i) {
      const bool wordStart = i == 0 || !escaped.at(i - 1).isLetterOrNumber();
      if ((wordStart || !wordStartsOnly) && isFree(i)) return escaped.insert(i, QLatin1Char('&'));
    }
  }
  return escaped;
}

// text with each "&" doubled and "&" put before the first place where at stands in it; the text
// as it is, its ampersands doubled, when at is not in it.
inline QString Before(const QString& text, const QString& at) {
  QString escaped = text;
  escaped.replace(QStringLiteral("&"), QStringLiteral("&&"));
  const qsizetype i = at.isEmpty() ? -1 : escaped.indexOf(at);
  return i < 0 ? escaped : escaped.insert(i, QLatin1Char('&'));
}

// The letter that follows a single "&" in a caption, or nothing.
inline QString Of(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption.at(i) != QLatin1Char('&')) continue;
    if (caption.at(i + 1) != QLatin1Char('&')) return caption.at(i + 1).toLower();
    ++i;
  }
  return {};
}

}  // namespace Mnemonic

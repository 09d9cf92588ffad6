#include "support/CaseNames.h"
#include <QList>
#include <QString>

namespace test {
namespace {

bool isAsciiAlnum(char32_t c)
{
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9');
}

const char* spelled(char32_t c)
{
    switch (c) {
    case U' ': return "space";
    case U'\t': return "tab";
    case U'.': return "dot";
    case U'*': return "star";
    case U'?': return "qmark";
    case U'/': return "slash";
    case U'\\': return "backslash";
    case U';': return "semicolon";
    case U',': return "comma";
    case U':': return "colon";
    case U'-': return "minus";
    case U'+': return "plus";
    case U'#': return "hash";
    case U'=': return "equals";
    case U'<': return "lt";
    case U'>': return "gt";
    case U'|': return "bar";
    case U'[': return "lbracket";
    case U']': return "rbracket";
    case U'(': return "lparen";
    case U')': return "rparen";
    case U'{': return "lbrace";
    case U'}': return "rbrace";
    case U'\'': return "quote";
    case U'"': return "dquote";
    case U'~': return "tilde";
    case U'!': return "bang";
    case U'@': return "at";
    case U'$': return "dollar";
    case U'%': return "percent";
    case U'^': return "caret";
    case U'&': return "amp";
    case U'`': return "backtick";
    case U'_': return "underscore";
    default: return nullptr;
    }
}

void appendToken(std::string& out, const std::string& token)
{
    if (!out.empty())
        out += '_';
    out += token;
}

} // namespace

std::string caseName(QStringView text)
{
    std::string out;
    std::string word;
    for (const char32_t c : text.toUcs4()) {
        if (isAsciiAlnum(c)) {
            word += char(c);
        } else if (!word.empty()) {
            appendToken(out, word);
            word.clear();
        }
    }
    if (!word.empty())
        appendToken(out, word);
    return out.empty() ? std::string("empty") : out;
}

std::string caseName(std::string_view utf8)
{
    return caseName(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

std::string literalName(QStringView text)
{
    std::string out;
    std::string word;
    for (const char32_t c : text.toUcs4()) {
        if (isAsciiAlnum(c)) {
            word += char(c);
            continue;
        }
        if (!word.empty()) {
            appendToken(out, word);
            word.clear();
        }
        if (const char* name = spelled(c))
            appendToken(out, name);
        else
            appendToken(out, "U" + QString::number(uint(c), 16).toUpper().rightJustified(4, u'0').toStdString());
    }
    if (!word.empty())
        appendToken(out, word);
    return out.empty() ? std::string("empty") : out;
}

std::string literalName(std::string_view utf8)
{
    return literalName(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

} // namespace test

#pragma once
#include <QStringView>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

// Names of parameterised cases (the name generator of INSTANTIATE_TEST_SUITE_P), so that a case reads as
// words. GoogleTest takes ASCII letters, digits and '_' only; the names of one suite must differ.
namespace test {

// Free text as a name: letters and digits stay, every other run of characters becomes one '_'
// ("read-only file" -> "read_only_file"); no text at all is "empty".
std::string caseName(std::string_view utf8);
std::string caseName(QStringView text);

// A pattern, path or value as a name with nothing dropped: punctuation and blanks are spelled as words,
// other characters as their code ("*.txt" -> "star_dot_txt", " a" -> "space_a", "数" -> "U6570");
// no text at all is "empty".
std::string literalName(std::string_view utf8);
std::string literalName(QStringView text);

// The generator for a table whose rows carry a free-text field `name`.
struct NameField {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const
    {
        return caseName(info.param.name);
    }
};

} // namespace test

// The window side of the engine's prompter: every question and message as a box of the dialog service.
#include "FileOpsHelpers.h"

using namespace fotest;

namespace {

struct AnswerCase {
    const char* name;
    ui::Dialogs::Answer box;
    Prompt::Answer expected;
};

class DialogsPrompterAnswers : public testing::TestWithParam<AnswerCase> {};

TEST_P(DialogsPrompterAnswers, QuestionIsABoxAndItsAnswerComesBack)
{
    const AnswerCase& c = GetParam();
    test::ScriptedDialogs dialogs;
    dialogs.answerQuestion(c.box);
    fileops::DialogsPrompter prompter(nullptr);
    EXPECT_EQ(prompter.question("q?", "caption", Prompt::EscCancels), c.expected);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, QStringLiteral("question"));
    EXPECT_EQ(dialogs.calls()[0].caption, QStringLiteral("caption"));
    EXPECT_EQ(dialogs.calls()[0].text, QStringLiteral("q?"));
}

INSTANTIATE_TEST_SUITE_P(FileOps, DialogsPrompterAnswers,
                         testing::Values(AnswerCase{"Yes", ui::Dialogs::Yes, Prompt::Yes},
                                         AnswerCase{"No", ui::Dialogs::No, Prompt::No},
                                         AnswerCase{"Cancel", ui::Dialogs::Cancel, Prompt::Cancel}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DialogsPrompter, ErrorsWarningsAndMessagesAreBoxesOfTheirKind)
{
    test::ScriptedDialogs dialogs;
    fileops::DialogsPrompter prompter(nullptr);
    prompter.error("e", "E");
    prompter.warning("w");
    prompter.message("m");
    ASSERT_EQ(dialogs.calls().size(), 3u);
    const std::vector<std::pair<QString, QString>> expected = {{"error", "e"}, {"warning", "w"}, {"message", "m"}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(dialogs.calls()[i].kind, expected[i].first);
        EXPECT_EQ(dialogs.calls()[i].text, expected[i].second);
    }
    EXPECT_EQ(dialogs.calls()[0].caption, QStringLiteral("E"));
    EXPECT_EQ(dialogs.calls()[1].caption, QStringLiteral("警告"));   // the service's own caption
}

} // namespace

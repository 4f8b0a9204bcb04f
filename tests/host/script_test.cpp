// Reading script lines: statements, quoting, expansion and the errors that
// tell an author which line is wrong and what was expected there.
#include <gtest/gtest.h>

#include "script.h"

namespace {

Statement Parse(const std::string& line) { return ParseLine(line, "t.vel", 7); }

std::string ErrorOf(const std::string& source) {
  try {
    ParseProgram(source, "t.vel");
  } catch (const ScriptError& error) {
    return error.Describe();
  }
  return "no error";
}

}  // namespace

TEST(ScriptStatements, EachKindIsRecognisedWithItsParts) {
  Statement set = Parse("  set Name = \"a b\"");
  EXPECT_EQ(set.kind, StatementKind::kSet);
  EXPECT_EQ(set.name, "Name");
  EXPECT_EQ(set.texts, std::vector<std::string>{"a b"});
  EXPECT_EQ(set.line, 7);

  EXPECT_EQ(Parse("Picked:").kind, StatementKind::kLabel);
  EXPECT_EQ(Parse("Picked:").name, "Picked");
  EXPECT_EQ(Parse("GOSUB \"Picked\"").texts[0], "Picked");
  EXPECT_EQ(Parse("Return").kind, StatementKind::kReturn);
  EXPECT_EQ(Parse("end").kind, StatementKind::kEnd);
  EXPECT_EQ(Parse("Print").texts[0], "");
  EXPECT_EQ(Parse("Answer \"#FF0000\"").kind, StatementKind::kAnswer);

  Statement window = Parse("Window Host \"Diary\" \"300\" \"200\"");
  EXPECT_EQ(window.kind, StatementKind::kWindow);
  EXPECT_EQ(window.name, "Host");
  EXPECT_EQ(window.texts, (std::vector<std::string>{"Diary", "300", "200"}));

  Statement wait = Parse("Loop Until Done=\"yes\" Timeout 2500");
  EXPECT_EQ(wait.kind, StatementKind::kLoop);
  EXPECT_TRUE(wait.hasCondition);
  EXPECT_EQ(wait.name, "Done");
  EXPECT_EQ(wait.texts[0], "yes");
  EXPECT_EQ(wait.timeoutMs, 2500);
  Statement pause = Parse("loop timeout 10");
  EXPECT_FALSE(pause.hasCondition);
  EXPECT_EQ(pause.timeoutMs, 10);
}

TEST(ScriptStatements, ActionCallsKeepEveryParameterAsWritten) {
  Statement call = Parse("xr_Dialogs_OpenFile \"Pick\" \"\" \"Pictures|*.jpg###All|*.*\" \"say \"\"hi\"\"\"");
  EXPECT_EQ(call.kind, StatementKind::kAction);
  EXPECT_EQ(call.name, "xr_Dialogs_OpenFile");
  EXPECT_EQ(call.texts, (std::vector<std::string>{"Pick", "", "Pictures|*.jpg###All|*.*",
                                                  "say \"hi\""}));
  EXPECT_TRUE(Parse("xr_Dialogs_CalendarStop").texts.empty());
}

TEST(ScriptStatements, BlankLinesAndCommentsAreSkippedButCounted) {
  Program program = ParseProgram("# intro\n\n   \r\nPrint \"x\"\r\n# more\nEnd", "t.vel");
  ASSERT_EQ(program.statements.size(), 2u);
  EXPECT_EQ(program.statements[0].line, 4);
  EXPECT_EQ(program.statements[1].line, 6);
}

TEST(ScriptErrors, NameFileLineAndWhatWasExpected) {
  EXPECT_EQ(ErrorOf("Print \"ok\"\nPrint \"open"), "t.vel:2: error: unterminated quoted text");
  EXPECT_EQ(ErrorOf("Set x \"1\""), "t.vel:1: error: expected =");
  EXPECT_EQ(ErrorOf("Set = \"1\""), "t.vel:1: error: expected a variable name after Set");
  EXPECT_EQ(ErrorOf("\n\nLoop Until x = \"1\""), "t.vel:3: error: expected timeout");
  EXPECT_EQ(ErrorOf("Loop Timeout soon"),
            "t.vel:1: error: expected a time-out in milliseconds, found soon");
  EXPECT_EQ(ErrorOf("GoSub Sub"), "t.vel:1: error: expected the label name in double quotes");
  EXPECT_EQ(ErrorOf("Return now"), "t.vel:1: error: unexpected now at end of statement");
  EXPECT_EQ(ErrorOf("\"text\""), "t.vel:1: error: expected a statement, found a quoted text");
  EXPECT_EQ(ErrorOf("3rd \"x\""), "t.vel:1: error: expected a statement, found 3rd");
  EXPECT_EQ(ErrorOf("xr_Dialogs_ColorSelector 100"),
            "t.vel:1: error: expected a parameter in double quotes");
  EXPECT_EQ(ErrorOf("Window \"T\" \"1\" \"1\""),
            "t.vel:1: error: expected a variable name for the window handle");
}

TEST(ScriptErrors, ALabelDefinedTwiceNamesTheSecondDefinition) {
  EXPECT_EQ(ErrorOf("Sub:\nReturn\nsub:\nReturn"), "t.vel:3: error: label sub is defined twice");
}

TEST(ScriptLabels, ListedInOrderJoinedByCrLf) {
  Program program = ParseProgram("Print \"a\"\nFirst:\nReturn\nSecond_2:\nReturn\n", "t.vel");
  EXPECT_EQ(LabelList(program), "First\r\nSecond_2");
  EXPECT_EQ(LabelList(ParseProgram("End", "t.vel")), "");
}

TEST(ScriptExpansion, ReplacesVariablesAndKeepsProse) {
  std::map<std::string, std::string> vars = {{"xr_Date", "03/15/2024"}, {"n", "5"}};
  EXPECT_EQ(Expand("Picked %xr_Date%.", vars), "Picked 03/15/2024.");
  EXPECT_EQ(Expand("%n%%n%", vars), "55");
  EXPECT_EQ(Expand("[%unset%]", vars), "[]");
  EXPECT_EQ(Expand("100%% sure", vars), "100% sure");
  EXPECT_EQ(Expand("50% or 60% of %n%", vars), "50% or 60% of 5");
  EXPECT_EQ(Expand("dangling %n", vars), "dangling %n");
  EXPECT_EQ(Expand("%XR_DATE%", vars), "");  // names are case-sensitive
}

// Running scripts against a recording host: order of effects, subroutines
// (also those that a plug-in starts in the middle of an action) and errors.
#include <gtest/gtest.h>

#include "interpreter.h"

namespace {

// A host whose single action "Pick" behaves like a calendar pick: it
// writes xr_Date and asks the host to run the subroutine named in its
// parameter, nested inside the action call.
struct FakeHost {
  Interpreter in;
  std::vector<std::string> events;

  explicit FakeHost(const std::string& source) {
    in.program = ParseProgram(source, "t.vel");
    in.host.parameterCount = [](const std::string& name) {
      return name == "Pick" ? 1 : name == "Show" ? 3 : -1;
    };
    in.host.runAction = [this](const std::string& name, const std::vector<std::string>& p) {
      std::string joined;
      for (const std::string& text : p) joined += "[" + text + "]";
      events.push_back(name + joined);
      if (name == "Pick") {
        SetVariable(in, "xr_Date", "03/15/2024");
        RunHostLine(in, "GoSub \"" + (p.empty() ? std::string() : p[0]) + "\"");
      }
    };
    in.host.openWindow = [this](const std::string& title, int w, int h) {
      events.push_back("window " + title + " " + std::to_string(w) + "x" + std::to_string(h));
      return std::string("4242");
    };
    in.host.runLoop = [this](const std::function<bool()>& done, int timeoutMs) {
      events.push_back("loop " + std::to_string(timeoutMs));
      return done();
    };
    in.host.answer = [this](const std::string& c) { events.push_back("answer " + c); };
    in.host.print = [this](const std::string& t) { events.push_back("print " + t); };
  }

  // Validates and runs; the error text, or "" on success.
  std::string Run() {
    try {
      ValidateProgram(in);
      RunProgram(in);
    } catch (const ScriptError& error) {
      return error.Describe();
    }
    return "";
  }
};

using Events = std::vector<std::string>;

}  // namespace

TEST(Interpreter, RunsStatementsInOrderWithExpandedTexts) {
  FakeHost host(
      "Set who = \"Ann\"\n"
      "Answer \"#FF0000\"\n"
      "Show \"%who%\" \"\" \"x%who%\"\n"
      "Window Handle \"Diary of %who%\" \"300\" \"200\"\n"
      "Print \"handle %Handle%\"\n");
  EXPECT_EQ(host.Run(), "");
  EXPECT_EQ(host.events, (Events{"answer #FF0000", "Show[Ann][][xAnn]", "window Diary of Ann 300x200",
                                 "print handle 4242"}));
}

TEST(Interpreter, GoSubNestsAndReturnsToTheLineAfterTheCall) {
  FakeHost host(
      "Print \"start\"\n"
      "GoSub \"Outer\"\n"
      "Print \"back\"\n"
      "End\n"
      "Outer:\n"
      "Print \"outer in\"\n"
      "GoSub \"inner\"\n"
      "Print \"outer out\"\n"
      "Return\n"
      "Inner:\n"
      "Print \"inner\"\n"
      "Return\n");
  EXPECT_EQ(host.Run(), "");
  EXPECT_EQ(host.events, (Events{"print start", "print outer in", "print inner", "print outer out",
                                 "print back"}));
  EXPECT_EQ(host.in.depth, 0);
}

TEST(Interpreter, EndInsideASubroutineStopsTheWholeScript) {
  FakeHost host("GoSub \"Stop\"\nPrint \"never\"\nStop:\nEnd\n");
  EXPECT_EQ(host.Run(), "");
  EXPECT_TRUE(host.events.empty());
}

TEST(Interpreter, APluginGoSubRunsNestedInsideTheActionAndSeesItsVariable) {
  FakeHost host(
      "Pick \"DatePicked\"\n"
      "Print \"after pick\"\n"
      "End\n"
      "DatePicked:\n"
      "Print \"picked %xr_Date%\"\n"
      "Return\n");
  EXPECT_EQ(host.Run(), "");
  EXPECT_EQ(host.events, (Events{"Pick[DatePicked]", "print picked 03/15/2024", "print after pick"}));
}

TEST(Interpreter, LoopEndsWhenASubroutineMeetsItsCondition) {
  FakeHost host(
      "Set Picked = \"no\"\n"
      "Pick \"Mark\"\n"
      "Loop Until Picked = \"yes\" Timeout 5000\n"
      "Loop Until Picked = \"twice\" Timeout 30\n"
      "End\n"
      "Mark:\n"
      "Set Picked = \"yes\"\n"
      "Return\n");
  EXPECT_EQ(host.Run(), "");
  EXPECT_EQ(host.events,
            (Events{"Pick[Mark]", "loop 5000", "loop 30",
                    "print loop: timed out after 30 ms waiting for Picked = \"twice\""}));
}

TEST(InterpreterErrors, MissingLabelsAndUnknownActionsAreFoundBeforeAnythingRuns) {
  FakeHost missing("Print \"x\"\nGoSub \"Nowhere\"\n");
  EXPECT_EQ(missing.Run(), "t.vel:2: error: no label named Nowhere");
  EXPECT_TRUE(missing.events.empty());

  FakeHost unknown("Print \"x\"\n\nxr_Dialogs_Nothing \"1\"\n");
  EXPECT_EQ(unknown.Run(), "t.vel:3: error: unknown action xr_Dialogs_Nothing");
  EXPECT_TRUE(unknown.events.empty());
}

TEST(InterpreterErrors, TooManyParametersAreRefusedFewerAreFine) {
  FakeHost extra("Show \"1\"\nPick \"A\" \"B\"\n");
  EXPECT_EQ(extra.Run(), "t.vel:2: error: Pick takes 1 parameters, not 2");
  EXPECT_TRUE(extra.events.empty());
  FakeHost fewer("Show \"1\"\nShow\n");
  EXPECT_EQ(fewer.Run(), "");
  EXPECT_EQ(fewer.events, (Events{"Show[1]", "Show"}));
}

TEST(InterpreterErrors, RunTimeFailuresNameTheirLine) {
  FakeHost dynamic("Set to = \"Gone\"\nPrint \"x\"\nGoSub \"%to%\"\n");
  EXPECT_EQ(dynamic.Run(), "t.vel:3: error: no label named Gone");
  EXPECT_EQ(dynamic.events, Events{"print x"});

  EXPECT_EQ(FakeHost("Print \"x\"\nReturn\n").Run(), "t.vel:2: error: Return without GoSub");
  EXPECT_EQ(FakeHost("Window W \"t\" \"wide\" \"10\"\n").Run(),
            "t.vel:1: error: expected a width in pixels, found \"wide\"");
  EXPECT_EQ(FakeHost("Window W \"t\" \"10\" \"0\"\n").Run(),
            "t.vel:1: error: expected a height above 0");
}

TEST(InterpreterErrors, AFailingPluginLineStopsTheScriptAtTheCallingStatement) {
  FakeHost host("Print \"a\"\nPick \"Missing\"\nPrint \"never\"\n");
  // Validation cannot see a label that only the plug-in names.
  EXPECT_EQ(host.Run(),
            "t.vel:2: error: no label named Missing (in the line \"GoSub \"Missing\"\" from the plug-in)");
  EXPECT_EQ(host.events, (Events{"print a", "Pick[Missing]"}));
}

TEST(InterpreterErrors, PluginLinesOtherThanSubroutineCallsAreRefused) {
  FakeHost host("Print \"a\"\n");
  host.in.host.runAction = [&](const std::string&, const std::vector<std::string>&) {};
  RunHostLine(host.in, "End");
  ASSERT_TRUE(host.in.pendingError.has_value());
  EXPECT_NE(host.in.pendingError->message.find("does not run"), std::string::npos);
}

TEST(InterpreterErrors, RunawayRecursionIsReportedNotOverflowed) {
  FakeHost host("Again:\nGoSub \"Again\"\n");
  EXPECT_EQ(host.Run(), "t.vel:2: error: GoSub nested deeper than 64 levels");
  EXPECT_EQ(host.in.depth, 0);
}

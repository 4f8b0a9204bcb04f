// VelHost: the stand-in host. Loads a plug-in, shows its catalogue, runs one
// action or its editor, or runs a script; the autopilot can answer every
// window so that all of this also runs unattended. Output: host/README.md.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "autopilot.h"
#include "choice.h"
#include "host_window.h"
#include "interpreter.h"
#include "output.h"
#include "plugin_host.h"
#include "script.h"

namespace {

// Exit statuses, documented in host/README.md.
constexpr int kExitOk = 0;
constexpr int kExitScriptError = 1;  // bad line, missing label, unknown action, run-time error
constexpr int kExitUsage = 2;
constexpr int kExitPlugIn = 3;       // plug-in missing or not a plug-in
constexpr int kExitStuck = 4;        // with --autopilot: still running when the watchdog ran out

// An unattended run is over in seconds; one still going after this is stuck,
// and a test runner would kill it without a word. Well below a test's limit.
constexpr DWORD kWatchdogMs = 90000;
std::atomic<const char*> g_doing{"starting"};
HANDLE g_finished = nullptr;

// Says what the program was doing and ends it. It writes past the output
// lock, which a stuck line may hold; every line before is already flushed.
DWORD WINAPI Watchdog(void*) {
  if (WaitForSingleObject(g_finished, kWatchdogMs) != WAIT_TIMEOUT) return 0;
  std::fprintf(stderr, "VelHost: watchdog: still %s after %lu s; ending\n", g_doing.load(),
               static_cast<unsigned long>(kWatchdogMs / 1000));
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), kExitStuck);
  return 0;
}

// Wine opens its display driver on the first call that needs it, under a
// lock of its own; a thread that gets there while another thread loads a DLL
// (which holds the loader lock and may need the display too) deadlocks both.
// Opening the display while the program still has one thread settles it.
void PrepareDisplayForThreads() {
  GetDesktopWindow();
  if (HDC screen = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)) DeleteDC(screen);
}

const char kUsage[] =
    "VelHost " VEL_VERSION ", the stand-in host for VelDialogs\n"
    "usage: VelHost [options] list\n"
    "       VelHost [options] run ACTION [PARAMETER...]\n"
    "       VelHost [options] edit ACTION [TEXT...]\n"
    "       VelHost [options] script FILE\n"
    "options:\n"
    "  --dll PATH       plug-in to load (default: VelDialogs.dll beside VelHost.exe)\n"
    "  --autopilot      answer every dialog, editor and calendar after a pause\n"
    "  --shots FOLDER   with --autopilot: save a PNG of each answered window there\n"
    "  --pause MS       with --autopilot: pause before each answer (default 300)\n"
    "  --answer TEXT    queue a choice for the autopilot (may be repeated)\n"
    "  --labels FILE    with edit: offer the labels of this script as subroutine names\n";

struct Options {
  std::string dll;
  bool autopilot = false;
  AutopilotOptions pilot;
  std::vector<std::string> answers;
  std::string labelsScript;
  std::vector<std::string> command;  // command word and its arguments
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string DefaultDllPath() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length < MAX_PATH ? length : 0);
  size_t slash = folder.find_last_of("\\/");
  folder = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
  return folder + "VelDialogs.dll";
}

bool ReadOptions(int argc, char** argv, Options* options, std::string* error) {
  int i = 1;
  for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
    std::string option = argv[i];
    bool hasValue = i + 1 < argc;
    if (option == "--autopilot") {
      options->autopilot = true;
    } else if (option == "--dll" && hasValue) {
      options->dll = argv[++i];
    } else if (option == "--shots" && hasValue) {
      options->pilot.shotsFolder = argv[++i];
    } else if (option == "--pause" && hasValue) {
      options->pilot.pauseMs = std::atoi(argv[++i]);
      if (options->pilot.pauseMs < 0) options->pilot.pauseMs = 0;
    } else if (option == "--labels" && hasValue) {
      options->labelsScript = argv[++i];
    } else if (option == "--answer" && hasValue) {
      options->answers.push_back(argv[++i]);
    } else {
      *error = "unknown option or missing value: " + option;
      return false;
    }
  }
  for (; i < argc; ++i) options->command.push_back(argv[i]);
  if (options->command.empty()) {
    *error = "no command given";
    return false;
  }
  if (options->dll.empty()) options->dll = DefaultDllPath();
  return true;
}

void ListCatalogue(const LoadedPlugIn& plugIn) {
  PrintLine("plug-in " + Quoted(plugIn.name) + " by " + Quoted(plugIn.author) + ": " +
            Quoted(plugIn.description));
  for (const RegisteredAction& action : plugIn.catalogue) {
    PrintLine("action " + std::to_string(action.id) + " " + action.name + " (" +
              std::to_string(action.count) + " parameters): " + HintDescription(action.hint));
    std::vector<std::string> names = HintParameterNames(action.hint);
    for (size_t k = 0; k < names.size(); ++k)
      PrintLine("  parameter " + std::to_string(k + 1) + ": " + names[k]);
  }
}

const RegisteredAction* RequireAction(const LoadedPlugIn& plugIn, const std::string& name) {
  const RegisteredAction* action = FindAction(plugIn, name);
  if (!action) PrintError("VelHost: error: unknown action " + name + " (see VelHost list)");
  return action;
}

int RunOne(const LoadedPlugIn& plugIn, const std::vector<std::string>& command) {
  if (command.size() < 2) {
    PrintError("VelHost: error: run needs an action name");
    return kExitUsage;
  }
  const RegisteredAction* action = RequireAction(plugIn, command[1]);
  if (!action) return kExitScriptError;
  std::vector<std::string> parameters(command.begin() + 2, command.end());
  if (parameters.size() > action->count) {
    PrintError("VelHost: error: " + action->name + " takes " + std::to_string(action->count) +
               " parameters, not " + std::to_string(parameters.size()));
    return kExitScriptError;
  }
  ExecAction(plugIn, *action, parameters);
  return kExitOk;
}

bool ReadScript(const std::string& path, std::string* text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    PrintError(path + ": error: cannot open the script");
    return false;
  }
  std::stringstream source;
  source << file.rdbuf();
  *text = source.str();
  return true;
}

// The editor of an action: a script given with --labels lends its labels,
// which the calendar-start editor asks for (request 5).
int EditOne(const LoadedPlugIn& plugIn, const std::vector<std::string>& command,
            const std::string& labelsScript) {
  if (command.size() < 2) {
    PrintError("VelHost: error: edit needs an action name");
    return kExitUsage;
  }
  const RegisteredAction* action = RequireAction(plugIn, command[1]);
  if (!action) return kExitScriptError;
  Interpreter labels;
  if (!labelsScript.empty()) {
    std::string source;
    if (!ReadScript(labelsScript, &source)) return kExitScriptError;
    try {
      labels.program = ParseProgram(source, labelsScript);
    } catch (const ScriptError& error) {
      PrintError(error.Describe());
      return kExitScriptError;
    }
    AttachInterpreter(&labels);
  }
  std::vector<std::string> texts(command.begin() + 2, command.end());
  if (texts.size() > action->count) {
    PrintError("VelHost: error: " + action->name + " takes " + std::to_string(action->count) +
               " parameters, not " + std::to_string(texts.size()));
    return kExitScriptError;
  }
  texts.resize(action->count);
  uint32_t handled = 0;
  std::vector<std::string> edited = EditAction(plugIn, *action, texts, &handled);
  AttachInterpreter(nullptr);
  PrintLine("edit " + action->name + " returned " + std::to_string(handled));
  std::vector<std::string> names = HintParameterNames(action->hint);
  for (size_t k = 0; k < edited.size(); ++k)
    PrintLine("param " + (k < names.size() ? names[k] : std::to_string(k + 1)) + " = " +
              Quoted(edited[k]));
  return kExitOk;
}

void ReportUnusedAnswers() {
  for (const std::string& choice : DiscardAnswers())
    PrintLine("autopilot: no window took the answer " + Quoted(choice));
}

int RunScript(const LoadedPlugIn& plugIn, const std::string& path, bool autopilot) {
  std::string source;
  if (!ReadScript(path, &source)) return kExitScriptError;

  Interpreter interpreter;
  interpreter.host.parameterCount = [&](const std::string& name) {
    const RegisteredAction* action = FindAction(plugIn, name);
    return action ? static_cast<int>(action->count) : -1;
  };
  interpreter.host.runAction = [&](const std::string& name,
                                   const std::vector<std::string>& parameters) {
    ExecAction(plugIn, *FindAction(plugIn, name), parameters);
    ReportUnusedAnswers();
  };
  interpreter.host.openWindow = [](const std::string& title, int width, int height) {
    HWND window = OpenHostWindow(title, width, height);
    return std::to_string(reinterpret_cast<uintptr_t>(window));
  };
  interpreter.host.runLoop = [](const std::function<bool()>& done, int timeoutMs) {
    bool met = RunMessageLoop(done, timeoutMs);
    ReportUnusedAnswers();
    return met;
  };
  // Without the autopilot the user answers, and choices mean nothing.
  interpreter.host.answer = [autopilot](const std::string& choice) {
    if (autopilot) QueueAnswer(choice);
  };
  interpreter.host.print = PrintLine;
  try {
    interpreter.program = ParseProgram(source, path);
    ValidateProgram(interpreter);
    AttachInterpreter(&interpreter);
    RunProgram(interpreter);
  } catch (const ScriptError& error) {
    AttachInterpreter(nullptr);
    PrintError(error.Describe());
    return kExitScriptError;
  }
  AttachInterpreter(nullptr);
  return kExitOk;
}

int Run(const Options& options) {
  LoadedPlugIn plugIn;
  std::string error;
  if (!LoadPlugIn(options.dll, &plugIn, &error)) {
    PrintError("VelHost: error: " + error);
    return kExitPlugIn;
  }
  const std::string& command = options.command[0];
  if (command == "list") {
    ListCatalogue(plugIn);
    return kExitOk;
  }
  if (command == "run") return RunOne(plugIn, options.command);
  if (command == "edit") return EditOne(plugIn, options.command, options.labelsScript);
  if (command == "script" && options.command.size() == 2)
    return RunScript(plugIn, options.command[1], options.autopilot);
  PrintError("VelHost: error: unknown command " + command + "\n" + kUsage);
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!ReadOptions(argc, argv, &options, &error)) {
    PrintError("VelHost: error: " + error + "\n" + kUsage);
    return kExitUsage;
  }
  HANDLE watchdog = nullptr;
  if (options.autopilot) {
    PrepareDisplayForThreads();
    g_finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    watchdog = CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
    if (!options.pilot.shotsFolder.empty()) CreateDirectoryA(options.pilot.shotsFolder.c_str(), nullptr);
    StartAutopilot(options.pilot);
  }
  for (const std::string& answer : options.answers) QueueAnswer(answer);
  g_doing = "running the command";
  int status = Run(options);
  g_doing = "stopping the autopilot";
  StopAutopilot();
  g_doing = "ending";
  if (g_finished) SetEvent(g_finished);
  // 64-bit Wine may crash a thread that is still ending while the process
  // exits (seen as a segfault after the last line), so the watchdog ends first.
  if (watchdog) {
    WaitForSingleObject(watchdog, INFINITE);
    CloseHandle(watchdog);
  }
  return status;
}

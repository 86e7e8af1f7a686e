// The control commands: about box, editor, loading and saving sets.
#include "runner_fixture.h"

namespace e2e {
namespace {

constexpr char kLoadTitle[] = "Open Tasklark commandset";
constexpr char kSaveTitle[] = "Save Tasklark commandset as ...";

class RunnerControl : public RunnerTest {
 protected:
  void SetUp() override {
    dir_.CopyAs("probe.exe", "larkedit.exe");
    CreateDirectoryA(other_.c_str(), nullptr);
    WriteSet({Record("Own", Probe("own"), SHOWCMD_DEFAULT, 'C', Hotkey("110", 'o'))});
  }

  // Opens a dialog of the runner; null when it does not show.
  HWND OpenDialog(WPARAM command, const char* title) {
    PostMessageA(window_, WM_COMMAND, command, 0);
    return WaitForDialog(title);
  }
  static void WaitUntilClosed(HWND window) {
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }));
  }
  void Cancel(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    WaitUntilClosed(dialog);
  }
  // The set file name the runner works on, as Setup hands it to the editor.
  // Posted: a sent message could be handled while a closed dialog is still
  // being taken down, before its command has finished.
  std::string EditorArguments() {
    ClearProbeReports(dir_);
    PostMessageA(window_, WM_COMMAND, kSetup, 0);
    std::vector<ProbeReport> launches = WaitForLaunches(1);
    const std::string editor = "\"" + dir_.Path("larkedit.exe") + "\" ";
    if (launches.size() != 1 || launches[0].commandLine.rfind(editor, 0) != 0) return "?";
    return launches[0].commandLine.substr(editor.size());
  }
  // Answers the runner's message box with this caption; returns its text.
  std::string Answer(const char* caption, int button) {
    HWND box = WaitForDialog(caption);
    if (!box) return "(no message box)";
    constexpr int kMessageText = 0xFFFF;
    std::string text = WindowText(GetDlgItem(box, kMessageText));
    PostMessageA(box, WM_COMMAND, button, 0);
    WaitUntilClosed(box);
    return text;
  }

  const std::string other_ = dir_.Path("other\\");
};

// Lines end with a single carriage return; the lines in quotes are fixed.
TEST_F(RunnerControl, AboutBox) {
  StartRunner();
  ASSERT_NE(OpenDialog(kAbout, "Tasklark 1.0"), nullptr);
  std::string text = Answer("Tasklark 1.0", IDOK);
  EXPECT_EQ(text.find('\n'), std::string::npos);
  std::vector<std::string> lines;
  for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
    end = text.find('\r', start);
    lines.push_back(text.substr(start, end - start));
  }
  ASSERT_EQ(lines.size(), 15u);
  const std::vector<std::string> fixed = {"", "     ", "", "     ", "", "     -if you find Tasklark usefull",
                                          "      and you will continue to use it,",
                                          "      or know how to improve Tasklark"};
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.begin() + 9), fixed);
  EXPECT_EQ(lines[11] + lines[13], "");
  EXPECT_TRUE(IsResponsive(window_));
}

// The editor gets both parts quoted, so a name with blanks arrives whole.
TEST_F(RunnerControl, SetupStartsTheEditorOnTheCurrentSet) {
  WriteSet({}, "my set.dat");
  StartRunner("\"my set.dat\"");
  EXPECT_EQ(EditorArguments(), "\"my set.dat\"");
}

TEST_F(RunnerControl, CancelledDialogsChangeNothing) {
  StartRunner();
  Cancel(OpenDialog(kLoad, kLoadTitle));
  Cancel(OpenDialog(kSaveAs, kSaveTitle));
  EXPECT_EQ(EditorArguments(), "\"Tasklark.dat\"");
  EXPECT_FALSE(HotkeyIsFree(MOD_CONTROL | MOD_ALT, 'O'));
}

// Whatever folder the user browses to, the set of that name beside the
// program is loaded, and created empty when there is none.
TEST_F(RunnerControl, LoadTakesTheNameFromTheProgramFolder) {
  const std::string name = UniqueName("picked");
  WriteSet({Record("Other", Probe("other"), SHOWCMD_DEFAULT, 'C', Hotkey("110", 'p'))}, "other\\" + name);
  StartRunner();
  ChooseFile(OpenDialog(kLoad, kLoadTitle), other_ + name);
  EXPECT_TRUE(HasTip("Tasklark - " + name));
  EXPECT_TRUE(dir_.Exists(name));
  EXPECT_TRUE(ReadBytes(dir_.Path(name)).empty());
  EXPECT_TRUE(HotkeyIsFree(MOD_CONTROL | MOD_ALT, 'O'));
  EXPECT_TRUE(HotkeyIsFree(MOD_CONTROL | MOD_ALT, 'P'));
  EXPECT_EQ(EditorArguments(), "\"" + name + "\"");
}

TEST_F(RunnerControl, SaveAsCopiesAndCarriesOnUnderTheNewName) {
  StartRunner();
  ChooseFile(OpenDialog(kSaveAs, kSaveTitle), "copy.dat");
  EXPECT_EQ(EditorArguments(), "\"copy.dat\"");
  EXPECT_EQ(ReadBytes(dir_.Path("copy.dat")), ReadBytes(dir_.Path(kSetFile)));
  EXPECT_FALSE(HotkeyIsFree(MOD_CONTROL | MOD_ALT, 'O'));  // nothing reloaded
}

TEST_F(RunnerControl, FailedSaveAsSaysSoAndKeepsTheName) {
  StartRunner();
  DeleteFileA(dir_.Path(kSetFile).c_str());
  ChooseFile(OpenDialog(kSaveAs, kSaveTitle), "copy.dat");
  EXPECT_NE(Answer("Tasklark", IDOK).find("copy.dat"), std::string::npos);
  EXPECT_EQ(EditorArguments(), "\"Tasklark.dat\"");
  EXPECT_FALSE(dir_.Exists("copy.dat"));
}

// The dialog asked about the folder the user browsed to; the copy goes to
// the program folder, where a file of that name is asked about first.
TEST_F(RunnerControl, SaveAsAsksBeforeReplacingASetInTheProgramFolder) {
  const Bytes kept = SetBytes({Record("Kept", "kept")});
  WriteBytes(dir_.Path("work.dat"), kept);
  StartRunner();

  ChooseFile(OpenDialog(kSaveAs, kSaveTitle), other_ + "work.dat");
  EXPECT_NE(Answer("Tasklark", IDNO).find("work.dat"), std::string::npos);
  EXPECT_EQ(ReadBytes(dir_.Path("work.dat")), kept);
  EXPECT_EQ(EditorArguments(), "\"Tasklark.dat\"");

  ChooseFile(OpenDialog(kSaveAs, kSaveTitle), other_ + "work.dat");
  Answer("Tasklark", IDYES);
  EXPECT_EQ(EditorArguments(), "\"work.dat\"");
  EXPECT_EQ(ReadBytes(dir_.Path("work.dat")), ReadBytes(dir_.Path(kSetFile)));
  EXPECT_FALSE(FileExists(other_ + "work.dat"));
}

}  // namespace
}  // namespace e2e

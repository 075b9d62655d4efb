// The Linux command line: accepted forms, each refusal with its one line and status 2, the
// screensaver's environment variable, and the help and version answers.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace app {
namespace {

CommandLine parse(std::vector<const char*> args, const char* screensaver_window = nullptr) {
  return parse_command_line(static_cast<int>(args.size()), args.data(), screensaver_window);
}

struct Answer {
  int status;
  std::string out;
  std::string err;
};

std::string read_all(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text += static_cast<char>(c);
  std::fclose(file);
  return text;
}

Answer answer(std::vector<const char*> args) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const int status = answer_command_line(parse(std::move(args)), out, err);
  return Answer{status, read_all(out), read_all(err)};
}

TEST(CommandLine, NoArgumentsStartsFullScreenFirstInTheOwnWindow) {
  const CommandLine line = parse({});
  EXPECT_FALSE(line.start_windowed);
  EXPECT_EQ(line.scale, 0);
  EXPECT_EQ(line.target, DrawTarget::kOwnWindow);
  EXPECT_EQ(answer({}).status, -1);
}

TEST(CommandLine, OptionsInBothSpellingsAndWindowIdsInDecimalAndHexadecimal) {
  CommandLine line = parse({"--window", "--scale", "8"});
  EXPECT_TRUE(line.start_windowed);
  EXPECT_EQ(line.scale, 8);
  EXPECT_EQ(parse({"--scale=3"}).scale, 3);
  line = parse({"--window-id", "0x1a00007"});
  EXPECT_EQ(line.target, DrawTarget::kWindowId);
  EXPECT_EQ(line.window_id, 0x1a00007u);
  EXPECT_EQ(parse({"--window-id=4294967295"}).window_id, 0xFFFFFFFFu);
  EXPECT_EQ(parse({"--root"}).target, DrawTarget::kRootWindow);
}

TEST(CommandLine, TheScreensaversVariableNamesTheWindowUnlessWindowIdDoes) {
  EXPECT_EQ(parse({}, "0x2c00001").window_id, 0x2c00001u);
  EXPECT_EQ(parse({}, "").target, DrawTarget::kOwnWindow);
  // xscreensaver's window stands for the root window, as for its own programs.
  EXPECT_EQ(parse({"--root"}, "0x2c00001").window_id, 0x2c00001u);
  EXPECT_EQ(parse({"--root"}, "").target, DrawTarget::kRootWindow);
  EXPECT_EQ(parse({"--window-id", "77"}, "0x2c00001").window_id, 77u);
  EXPECT_EQ(parse({}, "window").error,
            "moviquel: XSCREENSAVER_WINDOW is not an X window id: 'window'");
}

TEST(CommandLine, PathsAreTakenInOrderBetweenOptionsAndAfterADoubleDash) {
  const CommandLine line = parse({"b", "--shuffle", "a", "--fit=contain", "-", "--", "--window"});
  EXPECT_EQ(line.paths, (std::vector<std::string>{"b", "a", "-", "--window"}));
  EXPECT_TRUE(line.shuffle);
  EXPECT_TRUE(line.fit_contain);
  EXPECT_FALSE(line.start_windowed);
  EXPECT_FALSE(parse({"--fit", "cover"}).fit_contain);
}

TEST(CommandLine, BadInputIsOneLineWithTheUsageHintAndStatusTwo) {
  const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
      {{"--bogus"}, "moviquel: unknown option '--bogus'"},
      {{"-h"}, "moviquel: unknown option '-h'"},
      {{"--fit", "fill"}, "moviquel: --fit takes cover or contain, not 'fill'"},
      {{"--shuffle=1"}, "moviquel: option '--shuffle' takes no value"},
      {{"--scale"}, "moviquel: option '--scale' needs a value"},
      {{"--window-id"}, "moviquel: option '--window-id' needs a value"},
      {{"--window=1"}, "moviquel: option '--window' takes no value"},
      {{"--scale", "0"}, "moviquel: --scale takes a whole number from 1 to 8, not '0'"},
      {{"--scale", "9"}, "moviquel: --scale takes a whole number from 1 to 8, not '9'"},
      {{"--scale=2x"}, "moviquel: --scale takes a whole number from 1 to 8, not '2x'"},
      {{"--scale="}, "moviquel: --scale takes a whole number from 1 to 8, not ''"},
      {{"--window-id", "0"},
       "moviquel: --window-id takes an X window id (decimal or 0x hexadecimal), not '0'"},
      {{"--window-id", "0x"},
       "moviquel: --window-id takes an X window id (decimal or 0x hexadecimal), not '0x'"},
      {{"--window-id", "0x100000000"},
       "moviquel: --window-id takes an X window id (decimal or 0x hexadecimal), not "
       "'0x100000000'"},
      {{"--window-id", "-5"},
       "moviquel: --window-id takes an X window id (decimal or 0x hexadecimal), not '-5'"},
      {{"--root", "--window-id", "5"}, "moviquel: --window-id and --root exclude each other"},
      // A bad option wins over --help: nothing is printed on standard output.
      {{"--help", "--bogus"}, "moviquel: unknown option '--bogus'"},
  };
  for (const auto& [args, line] : cases) {
    const Answer a = answer(args);
    EXPECT_EQ(a.status, 2) << line;
    EXPECT_EQ(a.out, "") << line;
    EXPECT_EQ(a.err, line + "\nTry 'moviquel --help' for more information.\n");
  }
}

TEST(CommandLine, HelpNamesEveryOptionKeyAndButtonAndVersionIsTheVersionResources) {
  const Answer help = answer({"--window", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind(
                "Usage: moviquel [--window] [--scale N] [--window-id ID | --root] [--shuffle]\n"
                "                [--fit cover|contain] [--help] [--version] [PATH...]\n",
                0),
            0u);
  for (const char* item :
       {"--window ", "--scale N", "--window-id ID", "--root", "--version", "XSCREENSAVER_WINDOW",
        "T, Alt+Enter", "P ", "Esc, Alt+X", "right", "left", "web page", "SIGTERM", "--shuffle",
        "--fit MODE", "Left, Backspace", "imageDirectory"}) {
    EXPECT_NE(help.out.find(item), std::string::npos) << item;
  }
  const Answer version = answer({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "Moviquel Player 1.0.0.1\n");
}

}  // namespace
}  // namespace app

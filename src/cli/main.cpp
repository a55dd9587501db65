// zorpokaz-cli: the headless tool over the document core. Dispatches the first
// argument to one command; commands that draw get a QGuiApplication on the
// offscreen platform, the others run without any application object.
#include <QGuiApplication>
#include <cstdio>
#include <memory>

#include "cli/commands.h"
#include "platform/errors.h"

namespace zorpokaz::cli {

namespace {

struct Command {
  const char* name;
  const char* usage;
  bool needsGui;
  bool readsPrintout;
  int (*run)(const QStringList& args);
};

const Command kCommands[] = {
    {"info", "info FILE [--json]", false, true, cmdInfo},
    {"pages", "pages FILE [--dpi N] [--json]", true, true, cmdPages},
    {"render", "render FILE (-o OUT.pdf | --png DIR) [--dpi N] [--pages SET] [--margins L,T,R,B] "
     "[--mode normal|reduced|booklet] [--two-sided] [--reverse] [--mono] [--bitmap]", true, true, cmdRender},
    {"unpack", "unpack PACKAGE DIR [--overwrite]", false, false, cmdUnpack},
    {"pack", "pack --stub LAUNCHER --viewer VIEWER [--version X.Y.Z.W] -o OUT.run [PRINTOUT.wyd...]", false, false,
     cmdPack},
};

// What a failure that is not one of the program's own errors (memory running
// out, above all) says: never the C++ library's text. A printout that could
// not be read for it is a printout that cannot be read.
const char* failureText(const Command& command, const std::exception& e) {
  if (command.readsPrintout) return "Plik nie zawiera prawidłowego wydruku Zorela";
  return ErrorText(e);
}

void printUsage() {
  std::fputs("usage: zorpokaz-cli COMMAND ARGS...\n", stderr);
  for (const Command& c : kCommands) std::fprintf(stderr, "  zorpokaz-cli %s\n", c.usage);
}

}  // namespace

void out(const QString& text) { outBytes(text.toUtf8()); }

void outBytes(const QByteArray& utf8) {
  std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stdout);
}

int run(int argc, char** argv) {
  if (argc < 2) {
    printUsage();
    return 1;
  }
  const Command* command = nullptr;
  for (const Command& c : kCommands)
    if (qstrcmp(argv[1], c.name) == 0) command = &c;
  if (!command) {
    std::fprintf(stderr, "zorpokaz-cli: unknown command '%s'\n", argv[1]);
    printUsage();
    return 1;
  }
  QStringList args;
  for (int i = 2; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);

  std::unique_ptr<QGuiApplication> app;
  if (command->needsGui) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  try {
    const int status = command->run(args);
    std::fflush(stdout);
    return status;
  } catch (const UsageError& e) {
    std::fprintf(stderr, "zorpokaz-cli %s: %s\nusage: zorpokaz-cli %s\n", command->name, e.what(),
                 command->usage);
    return 1;
  } catch (const Error& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", failureText(*command, e));
    return 2;
  }
}

}  // namespace zorpokaz::cli

int main(int argc, char** argv) { return zorpokaz::cli::run(argc, argv); }

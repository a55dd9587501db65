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
    {"text", "text FILE [--pages SET] [--dpi N]", true, true, cmdText},
    {"unpack", "unpack PACKAGE DIR [--overwrite]", false, false, cmdUnpack},
    {"pack", "pack --stub LAUNCHER --viewer VIEWER [--version X.Y.Z.W] -o OUT.run [PRINTOUT.wyd...]", false, false,
     cmdPack},
    {"rights", "rights DIR [--release]", false, false, cmdRights},
};

// Qt's own diagnostics (an unset XDG_RUNTIME_DIR, a font fallback) are not
// the tool's output: scripts read stderr for errors. They are held back and
// shown only after the message of a command that failed.
QStringList& heldMessages() {
  static QStringList messages;
  return messages;
}

void holdMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
    return;  // Qt aborts after this
  }
  heldMessages() << message;
}

int showingHeldMessages(int status) {
  if (status != 0)
    for (const QString& m : heldMessages()) std::fprintf(stderr, "%s\n", qPrintable(m));
  return status;
}

void printUsage(std::FILE* to) {
  std::fputs("usage: zorpokaz-cli COMMAND ARGS...\n", to);
  for (const Command& c : kCommands) std::fprintf(to, "  zorpokaz-cli %s\n", c.usage);
}

// Asked for, the usage is the answer (standard output, success); after a
// mistake it is the explanation (standard error, exit 1).
void printHelp() {
  std::fputs("zorpokaz-cli: the headless side of the ZorPokaz printout viewer.\n"
             "Describes, lays out, renders and extracts the text of .wyd printouts, and packs and\n"
             "unpacks packages.\n\n",
             stdout);
  printUsage(stdout);
  std::fputs("\n  zorpokaz-cli --help | --version\n\n"
             "Exit status: 0 on success, 1 for a usage error, 2 when a file cannot be read.\n"
             "See zorpokaz-cli(1) for every option.\n",
             stdout);
}

// What a failure that is not one of the program's own errors (memory running
// out, above all) says: never the C++ library's text. A printout that could
// not be read for it is a printout that cannot be read.
const char* failureText(const Command& command, const std::exception& e) {
  if (command.readsPrintout) return "Plik nie zawiera prawidłowego wydruku Zorela";
  return ErrorText(e);
}

}  // namespace

void out(const QString& text) { outBytes(text.toUtf8()); }

void outBytes(const QByteArray& utf8) {
  std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stdout);
}

int run(int argc, char** argv) {
  if (argc < 2) {
    printUsage(stderr);
    return 1;
  }
  if (qstrcmp(argv[1], "--help") == 0 || qstrcmp(argv[1], "-h") == 0) {
    printHelp();
    return 0;
  }
  if (qstrcmp(argv[1], "--version") == 0) {
    std::printf("zorpokaz-cli %s\n", ZP_VERSION);
    return 0;
  }
  const Command* command = nullptr;
  for (const Command& c : kCommands)
    if (qstrcmp(argv[1], c.name) == 0) command = &c;
  if (!command) {
    std::fprintf(stderr, "zorpokaz-cli: unknown command '%s'\n", argv[1]);
    printUsage(stderr);
    return 1;
  }
  QStringList args;
  for (int i = 2; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);

  qInstallMessageHandler(holdMessage);
  std::unique_ptr<QGuiApplication> app;
  if (command->needsGui) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  try {
    const int status = command->run(args);
    std::fflush(stdout);
    return showingHeldMessages(status);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "zorpokaz-cli %s: %s\nusage: zorpokaz-cli %s\n", command->name, e.what(),
                 command->usage);
    return showingHeldMessages(1);
  } catch (const Error& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", e.what());
    return showingHeldMessages(2);
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", failureText(*command, e));
    return showingHeldMessages(2);
  }
}

}  // namespace zorpokaz::cli

int main(int argc, char** argv) { return zorpokaz::cli::run(argc, argv); }

#include "printing/cupsqueue.h"

#include <dlfcn.h>

#include <vector>

#include "platform/errors.h"

namespace zorpokaz {

namespace {

// The two members of cups_option_t, in its order.
struct CupsOption {
  char* name;
  char* value;
};

using PrintFileFn = int (*)(const char*, const char*, const char*, int, CupsOption*);
using LastErrorFn = const char* (*)();

struct Cups {
  PrintFileFn printFile = nullptr;
  LastErrorFn lastError = nullptr;
};

const Cups& cups() {
  static const Cups loaded = [] {
    Cups c;
    // Kept open for the life of the process, as a linked library would be.
    if (void* lib = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL)) {
      c.printFile = reinterpret_cast<PrintFileFn>(dlsym(lib, "cupsPrintFile"));
      c.lastError = reinterpret_cast<LastErrorFn>(dlsym(lib, "cupsLastErrorString"));
    }
    return c;
  }();
  return loaded;
}

}  // namespace

int SubmitToCups(const QString& queue, const QString& file, const QString& title,
                 const CupsOptions& options) {
  const Cups& c = cups();
  if (!c.printFile)
    throw Error("CUPS is not available");
  std::vector<QByteArray> keep;  // the option texts must outlive the call
  std::vector<CupsOption> list;
  for (const auto& [name, value] : options) {
    keep.push_back(name);
    keep.push_back(value);
  }
  for (std::size_t i = 0; i + 1 < keep.size(); i += 2)
    list.push_back({keep[i].data(), keep[i + 1].data()});
  const QByteArray dest = queue.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
  const int job = c.printFile(dest.constData(), file.toLocal8Bit().constData(),
                              title.toUtf8().constData(), static_cast<int>(list.size()),
                              list.empty() ? nullptr : list.data());
  if (job <= 0) {
    const char* why = c.lastError ? c.lastError() : nullptr;
    throw Error(why && *why ? why : "CUPS refused the print job");
  }
  return job;
}

}  // namespace zorpokaz

#include "printing/printeroptions.h"

#include <cups/cups.h>
#include <cups/ppd.h>
#include <cups/pwg.h>

#include <unistd.h>

#include <QLocale>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/errors.h"

namespace zorpokaz {

namespace {

// The standard options, in the order the dialog shows them.
struct Standard {
  const char* keyword;
  const char* group;
};
constexpr Standard kStandard[] = {
    {"media", "Papier"},
    {"media-source", "Papier"},
    {"media-type", "Papier"},
    {"output-bin", "Papier"},
    {"print-quality", "Jakość i kolory"},
    {"print-color-mode", "Jakość i kolory"},
    {"sides", "Druk dwustronny w drukarce"},
};

// Driver options the scheduler already offers as standard options above.
constexpr const char* kCoveredByStandard[] = {"PageSize", "PageRegion", "InputSlot", "MediaType",
                                              "OutputBin", "cupsPrintQuality", "ColorModel",
                                              "Duplex"};

// One queue's destination and its capabilities, freed together.
class Dest {
 public:
  explicit Dest(const QString& queue) {
    const QByteArray name = queue.section(QLatin1Char('/'), 0, 0).toUtf8();
    m_dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (m_dest)
      m_info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, m_dest);
    if (!m_info) {
      const QString why = QString::fromUtf8(cupsLastErrorString());
      cupsFreeDests(m_dest ? 1 : 0, m_dest);
      throw Error(QStringLiteral("Nie można odczytać ustawień drukarki %1:\r%2").arg(queue, why).toStdString());
    }
  }
  ~Dest() {
    cupsFreeDestInfo(m_info);
    cupsFreeDests(1, m_dest);
  }
  Dest(const Dest&) = delete;
  Dest& operator=(const Dest&) = delete;

  ipp_attribute_t* supported(const char* keyword) const {
    return cupsFindDestSupported(CUPS_HTTP_DEFAULT, m_dest, m_info, keyword);
  }
  ipp_attribute_t* fallback(const char* keyword) const {
    return cupsFindDestDefault(CUPS_HTTP_DEFAULT, m_dest, m_info, keyword);
  }
  QString localized(const char* keyword, const QByteArray& value) const {
    return QString::fromUtf8(
        cupsLocalizeDestValue(CUPS_HTTP_DEFAULT, m_dest, m_info, keyword, value.constData()));
  }

 private:
  cups_dest_t* m_dest = nullptr;
  cups_dinfo_t* m_info = nullptr;
};

QByteArray valueAt(ipp_attribute_t* attr, int i) {
  if (ippGetValueTag(attr) == IPP_TAG_ENUM || ippGetValueTag(attr) == IPP_TAG_INTEGER)
    return QByteArray::number(ippGetInteger(attr, i));
  return QByteArray(ippGetString(attr, i, nullptr));
}

PrinterOption standardOption(const Dest& dest, const char* keyword) {
  PrinterOption o{keyword, StandardOptionText(keyword), {}, {}};
  if (ipp_attribute_t* attr = dest.supported(keyword)) {
    for (int i = 0; i < ippGetCount(attr); ++i) {
      const QByteArray value = valueAt(attr, i);
      if (value.isEmpty() || value == "none")
        continue;
      const QString text =
          qstrcmp(keyword, "media") == 0 ? PaperText(value) : StandardValueText(keyword, value);
      o.choices.push_back({value, text.isEmpty() ? dest.localized(keyword, value) : text});
    }
  }
  if (ipp_attribute_t* attr = dest.fallback(keyword))
    o.defaultValue = valueAt(attr, 0);
  return o;
}

bool coveredByStandard(const char* keyword) {
  return std::any_of(std::begin(kCoveredByStandard), std::end(kCoveredByStandard),
                     [&](const char* k) { return qstrcmp(k, keyword) == 0; });
}

// The driver description is read through the older PPD interface: it is the
// only one that tells the driver's own options, and queues with a driver
// still have one.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

void addDriverGroup(const ppd_group_t& group, const QString& title,
                    std::vector<PrinterOptionGroup>& groups) {
  PrinterOptionGroup g{title, {}};
  for (int i = 0; i < group.num_options; ++i) {
    const ppd_option_t& option = group.options[i];
    if (coveredByStandard(option.keyword) || option.num_choices < 2)
      continue;
    PrinterOption o{option.keyword, QString::fromUtf8(*option.text ? option.text : option.keyword),
                    {}, option.defchoice};
    for (int c = 0; c < option.num_choices; ++c) {
      const ppd_choice_t& choice = option.choices[c];
      o.choices.push_back(
          {choice.choice, QString::fromUtf8(*choice.text ? choice.text : choice.choice)});
    }
    g.options.push_back(std::move(o));
  }
  if (!g.options.empty())
    groups.push_back(std::move(g));
  for (int i = 0; i < group.num_subgroups; ++i)
    addDriverGroup(group.subgroups[i], title, groups);
}

void addDriverOptions(const QString& queue, std::vector<PrinterOptionGroup>& groups) {
  const QByteArray name = queue.section(QLatin1Char('/'), 0, 0).toUtf8();
  const char* file = cupsGetPPD2(CUPS_HTTP_DEFAULT, name.constData());
  if (!file)
    return;  // a queue without a driver: the standard options are all there is
  const QByteArray path(file);
  std::unique_ptr<ppd_file_t, void (*)(ppd_file_t*)> ppd(ppdOpenFile(path.constData()), ppdClose);
  unlink(path.constData());
  if (!ppd)
    return;
  ppdLocalize(ppd.get());
  const QString title = QStringLiteral("Opcje sterownika drukarki");
  for (int i = 0; i < ppd->num_groups; ++i) {
    const ppd_group_t& group = ppd->groups[i];
    const QString own = QString::fromUtf8(group.text);
    addDriverGroup(group, ppd->num_groups > 1 ? title + QStringLiteral(" – ") + own : title, groups);
  }
}

#pragma GCC diagnostic pop

}  // namespace

std::vector<PrinterOptionGroup> ReadPrinterOptions(const QString& queue) {
  std::vector<PrinterOptionGroup> groups;
  {
    const Dest dest(queue);
    for (const Standard& s : kStandard) {
      PrinterOption o = standardOption(dest, s.keyword);
      if (o.choices.size() < 2)
        continue;
      const QString title = QString::fromUtf8(s.group);
      if (groups.empty() || groups.back().title != title)
        groups.push_back({title, {}});
      groups.back().options.push_back(std::move(o));
    }
  }
  addDriverOptions(queue, groups);
  return groups;
}

bool IsMonochrome(const PrinterSettingsRecord& record) {
  const auto it = record.find(kColourOption);
  return it != record.end() &&
         (it->second == "monochrome" || it->second == "process-monochrome" || it->second == "bi-level");
}

QString StandardOptionText(const QByteArray& keyword) {
  static const std::map<QByteArray, const char*> texts = {
      {"media", "Rozmiar papieru"},       {"media-source", "Źródło papieru"},
      {"media-type", "Rodzaj papieru"},   {"output-bin", "Odbiornik wydruków"},
      {"print-quality", "Jakość wydruku"}, {"print-color-mode", "Kolory"},
      {"sides", "Druk dwustronny"},
  };
  const auto it = texts.find(keyword);
  return it == texts.end() ? QString() : QString::fromUtf8(it->second);
}

QString StandardValueText(const QByteArray& keyword, const QByteArray& value) {
  static const std::map<QByteArray, const char*> texts = {
      {"print-color-mode/monochrome", "Czarno-biało"},
      {"print-color-mode/process-monochrome", "Czarno-biało"},
      {"print-color-mode/bi-level", "Czarno-biało, bez odcieni szarości"},
      {"print-color-mode/color", "W kolorze"},
      {"print-color-mode/auto", "Automatycznie"},
      {"print-quality/3", "Robocza"},
      {"print-quality/4", "Normalna"},
      {"print-quality/5", "Wysoka"},
      {"sides/one-sided", "Wyłączony (jednostronnie)"},
      {"sides/two-sided-long-edge", "Obracanie wzdłuż dłuższej krawędzi"},
      {"sides/two-sided-short-edge", "Obracanie wzdłuż krótszej krawędzi"},
      {"media-source/auto", "Automatycznie"},
      {"media-source/main", "Podajnik główny"},
      {"media-source/manual", "Podawanie ręczne"},
      {"media-type/auto", "Automatycznie"},
      {"media-type/stationery", "Zwykły papier"},
      {"media-type/transparency", "Folia"},
      {"media-type/envelope", "Koperta"},
      {"media-type/labels", "Etykiety"},
  };
  const auto it = texts.find(keyword + '/' + value);
  if (it != texts.end())
    return QString::fromUtf8(it->second);
  if (keyword == "media-source" && value.startsWith("tray-"))
    return QStringLiteral("Podajnik %1").arg(QString::fromLatin1(value.mid(5)));
  return QString();
}

QString PaperText(const QByteArray& media) {
  const pwg_media_t* pwg = pwgMediaForPWG(media.constData());
  if (!pwg)
    pwg = pwgMediaForLegacy(media.constData());
  if (!pwg)
    return QString::fromUtf8(media);
  // A driver's paper a fraction of a millimetre off the standard one (A5 as
  // 420 x 595 points) still goes by the standard name.
  const pwg_media_t* named = pwg;
  if (media.startsWith("custom_"))
    for (const char* standard : {"iso_a3_297x420mm", "iso_a4_210x297mm", "iso_a5_148x210mm",
                                 "iso_a6_105x148mm", "iso_b5_176x250mm", "na_letter_8.5x11in",
                                 "na_legal_8.5x14in"}) {
      const pwg_media_t* near = pwgMediaForPWG(standard);
      if (near && std::abs(near->width - pwg->width) <= 100 && std::abs(near->length - pwg->length) <= 100)
        named = near;
    }
  // Hundredths of a millimetre, shown with a decimal comma.
  auto mm = [](int v) { return QLocale(QLocale::Polish).toString(v / 100.0, 'g', 5); };
  const QString size = QStringLiteral("%1 × %2 mm").arg(mm(pwg->width), mm(pwg->length));
  if (named == pwg && media.startsWith("custom_"))
    return size;
  return named->ppd ? QStringLiteral("%1 (%2)").arg(QString::fromUtf8(named->ppd), size) : size;
}

}  // namespace zorpokaz

#include "support/pagedigest.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QIODevice>

#include "platform/gfx/pageimage.h"

namespace zorpokaz::writer {

QByteArray pageDigest(const PageImage& page) {
  QByteArray canonical;
  QDataStream s(&canonical, QIODevice::WriteOnly);
  s << page.width() << page.height();
  for (const PageImage::Item& item : page.items()) {
    s << static_cast<int>(item.kind) << item.color;
    switch (item.kind) {
      case PageImage::ItemKind::Text:
        s << item.text << item.rect.left << item.rect.top << item.rect.right << item.rect.bottom << item.flags;
        s << item.font.face << item.font.height << item.font.width << item.font.weight << item.font.italic
          << item.font.underline << item.font.charset;
        s << static_cast<quint32>(item.lines.size());
        for (const PageImage::TextLine& line : item.lines) s << line.text << line.x << line.baseline;
        break;
      case PageImage::ItemKind::Line:
        s << item.from << item.to << item.penWidth;
        break;
      case PageImage::ItemKind::Picture:
        s << item.rect.left << item.rect.top << item.rect.right << item.rect.bottom << item.picture.bytes();
        break;
    }
  }
  return QCryptographicHash::hash(canonical, QCryptographicHash::Sha256).toHex();
}

}  // namespace zorpokaz::writer

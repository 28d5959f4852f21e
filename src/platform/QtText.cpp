#include "platform/QtText.h"

#include "text/CaseFold.h"

namespace quendra {

QString upperCased(QString text) {
    for (QChar& ch : text)
        ch = QChar(toUpperFolded(ch.unicode()));
    return text;
}

}  // namespace quendra

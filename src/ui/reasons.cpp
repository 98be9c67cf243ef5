#include "ui/reasons.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>
#include <vector>

namespace zk {

namespace {

// The lower layers' words, %1, %2 standing for numbers, and the program's own for them.
struct Reason {
    const char* said;
    const char* text;
};

const Reason kReasons[] = {
    {"cannot open file", QT_TRANSLATE_NOOP("Reason", "soubor nelze otevřít")},
    {"cannot read file", QT_TRANSLATE_NOOP("Reason", "soubor nelze přečíst")},
    {"cannot write file", QT_TRANSLATE_NOOP("Reason", "soubor nelze zapsat")},
    {"the file is read-only", QT_TRANSLATE_NOOP("Reason", "soubor je jen pro čtení")},
    {"not a regular file", QT_TRANSLATE_NOOP("Reason", "není to obyčejný soubor")},
    {"the rows could not be made", QT_TRANSLATE_NOOP("Reason", "řádky souboru nelze vytvořit")},
    {"file is truncated (header)", QT_TRANSLATE_NOOP("Reason", "soubor je zkrácený (hlavička)")},
    {"file is truncated (file header)",
     QT_TRANSLATE_NOOP("Reason", "soubor je zkrácený (hlavička souboru)")},
    {"file is truncated (it shrank while read)",
     QT_TRANSLATE_NOOP("Reason", "soubor je zkrácený (zmenšil se během čtení)")},
    {"bad header", QT_TRANSLATE_NOOP("Reason", "chybná hlavička")},
    {"height 0", QT_TRANSLATE_NOOP("Reason", "výška 0")},
    {"unsupported compression", QT_TRANSLATE_NOOP("Reason", "nepodporovaná komprese")},
    {"unsupported", QT_TRANSLATE_NOOP("Reason", "nepodporováno")},
    {"embedded JPEG image", QT_TRANSLATE_NOOP("Reason", "vložený obrázek JPEG")},
    {"embedded PNG image", QT_TRANSLATE_NOOP("Reason", "vložený obrázek PNG")},
    {"not a bitmap file (no BM signature)",
     QT_TRANSLATE_NOOP("Reason", "není to soubor bitmapy (chybí podpis BM)")},
    {"not a PNG file (no PNG signature)",
     QT_TRANSLATE_NOOP("Reason", "není to soubor PNG (chybí podpis PNG)")},
    {"image too large for a bitmap file",
     QT_TRANSLATE_NOOP("Reason", "obrázek je pro soubor bitmapy příliš velký")},
    {"the bitmap is empty", QT_TRANSLATE_NOOP("Reason", "bitmapa je prázdná")},
    {"cannot write an empty bitmap", QT_TRANSLATE_NOOP("Reason", "prázdnou bitmapu nelze zapsat")},
    {"not enough memory for the map", QT_TRANSLATE_NOOP("Reason", "na mapu není dost paměti")},
    {"not enough memory for a new map",
     QT_TRANSLATE_NOOP("Reason", "na novou mapu není dost paměti")},
    {"out of memory for the bitmap's file image",
     QT_TRANSLATE_NOOP("Reason", "na obraz souboru bitmapy není dost paměti")},
    {"out of memory for the file's rows",
     QT_TRANSLATE_NOOP("Reason", "na řádky souboru není dost paměti")},
    {"out of memory for the PNG file",
     QT_TRANSLATE_NOOP("Reason", "na soubor PNG není dost paměti")},
    {"out of memory for the PNG reader",
     QT_TRANSLATE_NOOP("Reason", "na čtení souboru PNG není dost paměti")},
    {"out of memory for the Universal VTT file",
     QT_TRANSLATE_NOOP("Reason", "na soubor Universal VTT není dost paměti")},
    {"the map must be at least 1 x 1 pixel (asked for %1 x %2)",
     QT_TRANSLATE_NOOP("Reason", "mapa musí mít aspoň 1 × 1 bod (požadováno %1 × %2)")},
    {"the map may have at most 65535 pixels a side and 268435456 pixels in all (asked for %1 x "
     "%2)",
     QT_TRANSLATE_NOOP("Reason",
                       "mapa smí mít nejvýš 65535 bodů na stranu a 268435456 bodů "
                       "celkem (požadováno %1 × %2)")},
    {"it is %1 x %2 pixels, and a map may have at most 65535 pixels a side and 268435456 pixels "
     "in all",
     QT_TRANSLATE_NOOP("Reason",
                       "má %1 × %2 bodů a mapa smí mít nejvýš 65535 bodů na stranu a "
                       "268435456 bodů celkem")},
    {"it is in a form that cannot be read",
     QT_TRANSLATE_NOOP("Reason", "je v podobě, kterou nelze přečíst")},
    {"there is not enough memory for it", QT_TRANSLATE_NOOP("Reason", "není na něj dost paměti")},
    {"the map has no pixels or no grid",
     QT_TRANSLATE_NOOP("Reason", "mapa nemá žádné body nebo žádnou mřížku")},
    {"the cell size must be more than 0 mm",
     QT_TRANSLATE_NOOP("Reason", "buňka musí měřit víc než 0 mm")},
    {"the overlap is 0 to 3 cells", QT_TRANSLATE_NOOP("Reason", "překryv je 0 až 3 buňky")},
    {"the overlap takes the whole page",
     QT_TRANSLATE_NOOP("Reason", "překryv zabírá celou stránku")},
    {"the map would take more than %1 pages",
     QT_TRANSLATE_NOOP("Reason", "mapa by zabrala víc než %1 stran")},
    {"the store holds no map", QT_TRANSLATE_NOOP("Reason", "záznam neobsahuje žádnou mapu")},
    {"the store cannot be read", QT_TRANSLATE_NOOP("Reason", "záznam nelze přečíst")},
    {"the store is damaged", QT_TRANSLATE_NOOP("Reason", "záznam je poškozený")},
    {"the store names an unknown base",
     QT_TRANSLATE_NOOP("Reason", "záznam odkazuje na neznámý základ")},
    {"the store's map size is wrong",
     QT_TRANSLATE_NOOP("Reason", "záznam má chybnou velikost mapy")},
    {"a tile of the store is damaged",
     QT_TRANSLATE_NOOP("Reason", "dlaždice záznamu je poškozená")},
    {"the store misses tiles of the map",
     QT_TRANSLATE_NOOP("Reason", "v záznamu chybí dlaždice mapy")},
    {"the store holds a tile outside the map",
     QT_TRANSLATE_NOOP("Reason", "záznam obsahuje dlaždici mimo mapu")},
    {"the store was written by a newer version of ZK (format %1)",
     QT_TRANSLATE_NOOP("Reason", "záznam zapsala novější verze ZK (formát %1)")},
    {"cannot make the PDF pages", QT_TRANSLATE_NOOP("Reason", "stránky PDF nelze vytvořit")},
    {"cannot compress a tile", QT_TRANSLATE_NOOP("Reason", "dlaždici nelze zkomprimovat")},
    {"cannot write a tile", QT_TRANSLATE_NOOP("Reason", "dlaždici nelze zapsat")},
    {"cannot write the map's description", QT_TRANSLATE_NOOP("Reason", "popis mapy nelze zapsat")},
    {"the file there could not be read when the program started, and is kept as it was",
     QT_TRANSLATE_NOOP("Reason",
                       "soubor tam při spuštění programu nešel přečíst, a tak zůstal, "
                       "jak byl")},
};

struct Pattern {
    QRegularExpression said;
    const char* text;
};

const std::vector<Pattern>& Patterns() {
    static const std::vector<Pattern> patterns = [] {
        std::vector<Pattern> all;
        for (const Reason& r : kReasons) {
            QString expression = QRegularExpression::escape(QString::fromUtf8(r.said));
            // Escaping put a backslash before each %.
            expression.replace(QRegularExpression(QStringLiteral("\\\\?%\\d")),
                               QStringLiteral("(-?\\d+)"));
            all.push_back(
                {QRegularExpression(QRegularExpression::anchoredPattern(expression)), r.text});
        }
        return all;
    }();
    return patterns;
}

QString TranslatedPart(const QString& part) {
    for (const Pattern& p : Patterns()) {
        const QRegularExpressionMatch m = p.said.match(part);
        if (!m.hasMatch())
            continue;
        QString text = QCoreApplication::translate("Reason", p.text);
        for (int i = 1; i <= m.lastCapturedIndex(); ++i)
            text = text.arg(m.captured(i));
        return text;
    }
    return part;
}

}  // namespace

QString TranslatedReason(const std::string& why) {
    QStringList parts = QString::fromStdString(why).split(QStringLiteral(": "));
    for (QString& part : parts)
        part = TranslatedPart(part);
    return parts.join(QStringLiteral(": "));
}

}  // namespace zk

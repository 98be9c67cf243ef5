// The string table: for each command its status-bar prompt and, after a newline, its tool tip.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <string_view>

namespace zk::res {

struct CommandString {
    int id;
    std::string_view text;  // "prompt\ntool tip"
};

inline constexpr CommandString kCommandStrings[] = {
    {57600, QT_TRANSLATE_NOOP("Commands", "Vytvoří novou mapu\nNová mapa")},
    {57601, QT_TRANSLATE_NOOP("Commands", "Otevře existující mapu\nOtevřít")},
    {57603, QT_TRANSLATE_NOOP("Commands", "Uloží mapu\nUložit")},
    {57604, QT_TRANSLATE_NOOP("Commands", "Uloží mapu pod novým jménem\nUložit jako")},
    {32850, QT_TRANSLATE_NOOP(
                "Commands",
                "Uloží mapu jako obrázek PNG nebo pro virtuální stůl (Universal VTT)\nExportovat")},
    {57606, QT_TRANSLATE_NOOP("Commands", "Změní tiskárnu a nastavení tisku\nNastavení tisku")},
    {57607, QT_TRANSLATE_NOOP("Commands", "Vytiskne mapu\nTisk")},
    {57609, QT_TRANSLATE_NOOP("Commands", "Náhled\nNáhled")},
    {32860,
     QT_TRANSLATE_NOOP("Commands",
                       "Vytiskne mapu ve skutečné velikosti buněk na více stran\nTisk v měřítku")},
    {57616, QT_TRANSLATE_NOOP("Commands", "Otevře tuto mapu\nOtevřít")},
    {57617, QT_TRANSLATE_NOOP("Commands", "Otevře tuto mapu\nOtevřít")},
    {57618, QT_TRANSLATE_NOOP("Commands", "Otevře tuto mapu\nOtevřít")},
    {57619, QT_TRANSLATE_NOOP("Commands", "Otevře tuto mapu\nOtevřít")},
    {57634, QT_TRANSLATE_NOOP("Commands", "Zkopíruje vybranou oblast do schránky\nKopírovat")},
    {57635, QT_TRANSLATE_NOOP("Commands", "Vyjme vybranou oblast a uloží ji do schránky\nVyjmout")},
    {57637, QT_TRANSLATE_NOOP("Commands", "Vloží obrázek ze schránky\nVložit")},
    {57643, QT_TRANSLATE_NOOP("Commands", "Vrátí mapu o jeden krok zpět\nZpět")},
    {57644, QT_TRANSLATE_NOOP("Commands", "Vrátí krok, který Zpět vzalo\nZnovu")},
    {57664, QT_TRANSLATE_NOOP("Commands", "Zobrazí název a verzi programu\nO programu")},
    {57665, QT_TRANSLATE_NOOP("Commands", "Ukončí program\nKonec")},
    {59392, QT_TRANSLATE_NOOP("Commands", "Zobrazí nebo skryje panel nástrojů\nPanel nástrojů")},
    {59393, QT_TRANSLATE_NOOP("Commands", "Zobrazí nebo skryje stavový řádek\nStavový řádek")},
    {32773, QT_TRANSLATE_NOOP("Commands", "Pokládá dlaždice bez okraje\nDlaždice")},
    {32807, QT_TRANSLATE_NOOP("Commands", "Pokládá dlaždice s okrajem v mřížce\nDlaždice v síti")},
    {32789, QT_TRANSLATE_NOOP("Commands", "Kreslí volnou rukou\nKreslení")},
    {32835, QT_TRANSLATE_NOOP("Commands", "Kreslí rovné čáry\nČáry")},
    {32800, QT_TRANSLATE_NOOP("Commands", "Kreslí obdélníky\nObdélník")},
    {32803, QT_TRANSLATE_NOOP("Commands", "Kreslí elipsy\nElipsa")},
    {32805, QT_TRANSLATE_NOOP("Commands", "Kreslí mnohoúhelníky\nMnohoúhelník")},
    {32818, QT_TRANSLATE_NOOP("Commands", "Píše text\nText")},
    {32826, QT_TRANSLATE_NOOP("Commands", "Pokládá symboly\nSymboly")},
    {32828, QT_TRANSLATE_NOOP("Commands", "Vybírá část mapy\nVybrat")},
    {32784, QT_TRANSLATE_NOOP("Commands", "Zapne nebo vypne mřížku\nMřížka")},
    {32786, QT_TRANSLATE_NOOP("Commands", "Přiblíží mapu\nPřiblížit")},
    {32787, QT_TRANSLATE_NOOP("Commands", "Oddálí mapu\nOddálit")},
    {32845, QT_TRANSLATE_NOOP("Commands", "Zobrazí celou mapu v okně\nCelá mapa")},
    {32846, QT_TRANSLATE_NOOP("Commands", "Zobrazí mapu ve skutečné velikosti\nSkutečná velikost")},
    {32795, QT_TRANSLATE_NOOP("Commands", "Žádná velikost\nŽádná")},
    {32796, QT_TRANSLATE_NOOP("Commands", "Malá velikost\nMalá")},
    {32797, QT_TRANSLATE_NOOP("Commands", "Střední velikost\nStřední")},
    {32798, QT_TRANSLATE_NOOP("Commands", "Velká velikost\nVelká")},
    {32813, QT_TRANSLATE_NOOP("Commands", "Nastaví velikosti mapy, mřížky,...\nNastavení")},
    {32823, QT_TRANSLATE_NOOP("Commands", "Zvětší mřížku\nZvětší mřížku")},
    {32824, QT_TRANSLATE_NOOP("Commands", "Zmenší mřížku\nZmenší mřížku")},
    {32841, QT_TRANSLATE_NOOP("Commands", "Zobrazí nápovědu\nNápověda")},
    {32842, QT_TRANSLATE_NOOP("Commands", "Zobrazí nebo skryje paletu nástrojů\nPaleta nástrojů")},
    {32843, QT_TRANSLATE_NOOP("Commands", "Zobrazí nebo skryje paletu výplní\nPaleta výplní")},
    {32844, QT_TRANSLATE_NOOP("Commands", "Zobrazí nebo skryje panel velikostí\nPanel velikostí")},
    {32870, QT_TRANSLATE_NOOP("Commands", "Použije jazyk pracovní plochy\nPodle systému")},
    {32871, QT_TRANSLATE_NOOP("Commands", "Přepne program do češtiny\nČeština")},
    {32872, QT_TRANSLATE_NOOP("Commands", "Přepne program do angličtiny\nEnglish")},
};

// The prompt and the tool tip of a command, in the language the program speaks; empty when it
// has none.
inline QString CommandPart(int id, int part) {
    for (const CommandString& s : kCommandStrings)
        if (s.id == id)
            return QCoreApplication::translate("Commands", s.text.data())
                .section(QLatin1Char('\n'), part, part);
    return {};
}
inline QString CommandPrompt(int id) {
    return CommandPart(id, 0);
}
inline QString CommandTip(int id) {
    return CommandPart(id, 1);
}

}  // namespace zk::res

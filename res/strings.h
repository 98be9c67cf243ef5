// The string table: for each command its status-bar prompt and, after a newline, its tool tip.
#pragma once

#include <string_view>

namespace zk::res {

struct CommandString {
    int id;
    std::string_view text;  // "prompt\ntool tip"
};

inline constexpr CommandString kCommandStrings[] = {
    {57600, "Vytvoří novou mapu\nNová mapa"},
    {57601, "Otevře existující mapu\nOtevřít"},
    {57603, "Uloží mapu\nUložit"},
    {57604, "Uloží mapu pod novým jménem\nUložit jako"},
    {32850, "Uloží mapu jako obrázek PNG nebo pro virtuální stůl (Universal VTT)\nExportovat"},
    {57606, "Změní tiskárnu a nastavení tisku\nNastavení tisku"},
    {57607, "Vytiskne mapu\nTisk"},
    {57609, "Náhled\nNáhled"},
    {32860, "Vytiskne mapu ve skutečné velikosti buněk na více stran\nTisk v měřítku"},
    {57616, "Otevře tuto mapu\nOtevřít"},
    {57617, "Otevře tuto mapu\nOtevřít"},
    {57618, "Otevře tuto mapu\nOtevřít"},
    {57619, "Otevře tuto mapu\nOtevřít"},
    {57634, "Zkopíruje vybranou oblast do schránky\nKopírovat"},
    {57635, "Vyjme vybranou oblast a uloží ji do schránky\nVyjmout"},
    {57637, "Vloží obrázek ze schránky\nVložit"},
    {57643, "Vrátí mapu o jeden krok zpět\nZpět"},
    {57644, "Vrátí krok, který Zpět vzalo\nZnovu"},
    {57664, "Zobrazí název a verzi programu\nO programu"},
    {57665, "Ukončí program\nKonec"},
    {59392, "Zobrazí nebo skryje panel nástrojů\nPanel nástrojů"},
    {59393, "Zobrazí nebo skryje stavový řádek\nStavový řádek"},
    {32773, "Pokládá dlaždice bez okraje\nDlaždice"},
    {32807, "Pokládá dlaždice s okrajem v mřížce\nDlaždice v síti"},
    {32789, "Kreslí volnou rukou\nKreslení"},
    {32835, "Kreslí rovné čáry\nČáry"},
    {32800, "Kreslí obdélníky\nObdélník"},
    {32803, "Kreslí elipsy\nElipsa"},
    {32805, "Kreslí mnohoúhelníky\nMnohoúhelník"},
    {32818, "Píše text\nText"},
    {32826, "Pokládá symboly\nSymboly"},
    {32828, "Vybírá část mapy\nVybrat"},
    {32784, "Zapne nebo vypne mřížku\nMřížka"},
    {32786, "Přiblíží mapu\nPřiblížit"},
    {32787, "Oddálí mapu\nOddálit"},
    {32845, "Zobrazí celou mapu v okně\nCelá mapa"},
    {32846, "Zobrazí mapu ve skutečné velikosti\nSkutečná velikost"},
    {32795, "Žádná velikost\nŽádná"},
    {32796, "Malá velikost\nMalá"},
    {32797, "Střední velikost\nStřední"},
    {32798, "Velká velikost\nVelká"},
    {32813, "Nastaví velikosti mapy, mřížky,...\nNastavení"},
    {32823, "Zvětší mřížku\nZvětší mřížku"},
    {32824, "Zmenší mřížku\nZmenší mřížku"},
    {32841, "Zobrazí nápovědu\nNápověda"},
    {32842, "Zobrazí nebo skryje paletu nástrojů\nPaleta nástrojů"},
    {32843, "Zobrazí nebo skryje paletu výplní\nPaleta výplní"},
    {32844, "Zobrazí nebo skryje panel velikostí\nPanel velikostí"},
};

// The prompt and the tool tip of a command; empty when it has none.
inline std::string_view CommandPrompt(int id) {
    for (const CommandString& s : kCommandStrings)
        if (s.id == id)
            return s.text.substr(0, s.text.find('\n'));
    return {};
}
inline std::string_view CommandTip(int id) {
    for (const CommandString& s : kCommandStrings)
        if (s.id == id) {
            const auto nl = s.text.find('\n');
            return nl == std::string_view::npos ? std::string_view{} : s.text.substr(nl + 1);
        }
    return {};
}

}  // namespace zk::res

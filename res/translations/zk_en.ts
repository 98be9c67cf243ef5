<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="cs_CZ">
<context>
    <name>Commands</name>
    <message>
        <source>Vytvoří novou mapu
Nová mapa</source>
        <translation>Makes a new map
New Map</translation>
    </message>
    <message>
        <source>Otevře existující mapu
Otevřít</source>
        <translation>Opens an existing map
Open</translation>
    </message>
    <message>
        <source>Uloží mapu
Uložit</source>
        <translation>Saves the map
Save</translation>
    </message>
    <message>
        <source>Uloží mapu pod novým jménem
Uložit jako</source>
        <translation>Saves the map under a new name
Save As</translation>
    </message>
    <message>
        <source>Uloží mapu jako obrázek PNG nebo pro virtuální stůl (Universal VTT)
Exportovat</source>
        <translation>Saves the map as a PNG picture or for a virtual tabletop (Universal VTT)
Export</translation>
    </message>
    <message>
        <source>Změní tiskárnu a nastavení tisku
Nastavení tisku</source>
        <translation>Changes the printer and the print settings
Print Setup</translation>
    </message>
    <message>
        <source>Vytiskne mapu
Tisk</source>
        <translation>Prints the map
Print</translation>
    </message>
    <message>
        <source>Náhled
Náhled</source>
        <translation>Print preview
Print Preview</translation>
    </message>
    <message>
        <source>Vytiskne mapu ve skutečné velikosti buněk na více stran
Tisk v měřítku</source>
        <translation>Prints the map with its cells at their true size across several pages
Print to Scale</translation>
    </message>
    <message>
        <source>Otevře tuto mapu
Otevřít</source>
        <translation>Opens this map
Open</translation>
    </message>
    <message>
        <source>Zkopíruje vybranou oblast do schránky
Kopírovat</source>
        <translation>Copies the selected area to the clipboard
Copy</translation>
    </message>
    <message>
        <source>Vyjme vybranou oblast a uloží ji do schránky
Vyjmout</source>
        <translation>Cuts the selected area and puts it on the clipboard
Cut</translation>
    </message>
    <message>
        <source>Vloží obrázek ze schránky
Vložit</source>
        <translation>Pastes the picture on the clipboard
Paste</translation>
    </message>
    <message>
        <source>Vrátí mapu o jeden krok zpět
Zpět</source>
        <translation>Takes the map one step back
Undo</translation>
    </message>
    <message>
        <source>Vrátí krok, který Zpět vzalo
Znovu</source>
        <translation>Brings back the step Undo took
Redo</translation>
    </message>
    <message>
        <source>Zobrazí název a verzi programu
O programu</source>
        <translation>Shows the program&apos;s name and version
About</translation>
    </message>
    <message>
        <source>Ukončí program
Konec</source>
        <translation>Ends the program
Exit</translation>
    </message>
    <message>
        <source>Zobrazí nebo skryje panel nástrojů
Panel nástrojů</source>
        <translation>Shows or hides the toolbar
Toolbar</translation>
    </message>
    <message>
        <source>Zobrazí nebo skryje stavový řádek
Stavový řádek</source>
        <translation>Shows or hides the status bar
Status Bar</translation>
    </message>
    <message>
        <source>Pokládá dlaždice bez okraje
Dlaždice</source>
        <translation>Lays tiles without an edge
Tiles</translation>
    </message>
    <message>
        <source>Pokládá dlaždice s okrajem v mřížce
Dlaždice v síti</source>
        <translation>Lays tiles with an edge on the grid
Grid Tiles</translation>
    </message>
    <message>
        <source>Kreslí volnou rukou
Kreslení</source>
        <translation>Draws freehand
Freehand</translation>
    </message>
    <message>
        <source>Kreslí rovné čáry
Čáry</source>
        <translation>Draws straight lines
Lines</translation>
    </message>
    <message>
        <source>Kreslí obdélníky
Obdélník</source>
        <translation>Draws rectangles
Rectangle</translation>
    </message>
    <message>
        <source>Kreslí elipsy
Elipsa</source>
        <translation>Draws ellipses
Ellipse</translation>
    </message>
    <message>
        <source>Kreslí mnohoúhelníky
Mnohoúhelník</source>
        <translation>Draws polygons
Polygon</translation>
    </message>
    <message>
        <source>Píše text
Text</source>
        <translation>Writes text
Text</translation>
    </message>
    <message>
        <source>Pokládá symboly
Symboly</source>
        <translation>Places symbols
Symbols</translation>
    </message>
    <message>
        <source>Vybírá část mapy
Vybrat</source>
        <translation>Selects a part of the map
Select</translation>
    </message>
    <message>
        <source>Zapne nebo vypne mřížku
Mřížka</source>
        <translation>Turns the grid on or off
Grid</translation>
    </message>
    <message>
        <source>Přiblíží mapu
Přiblížit</source>
        <translation>Zooms in on the map
Zoom In</translation>
    </message>
    <message>
        <source>Oddálí mapu
Oddálit</source>
        <translation>Zooms out of the map
Zoom Out</translation>
    </message>
    <message>
        <source>Zobrazí celou mapu v okně
Celá mapa</source>
        <translation>Shows the whole map in the window
Whole Map</translation>
    </message>
    <message>
        <source>Zobrazí mapu ve skutečné velikosti
Skutečná velikost</source>
        <translation>Shows the map at its actual size
Actual Size</translation>
    </message>
    <message>
        <source>Žádná velikost
Žádná</source>
        <translation>No size
None</translation>
    </message>
    <message>
        <source>Malá velikost
Malá</source>
        <translation>Small size
Small</translation>
    </message>
    <message>
        <source>Střední velikost
Střední</source>
        <translation>Medium size
Medium</translation>
    </message>
    <message>
        <source>Velká velikost
Velká</source>
        <translation>Large size
Large</translation>
    </message>
    <message>
        <source>Nastaví velikosti mapy, mřížky,...
Nastavení</source>
        <translation>Sets the sizes of the map, the grid,...
Settings</translation>
    </message>
    <message>
        <source>Zvětší mřížku
Zvětší mřížku</source>
        <translation>Makes the grid larger
Larger Grid</translation>
    </message>
    <message>
        <source>Zmenší mřížku
Zmenší mřížku</source>
        <translation>Makes the grid smaller
Smaller Grid</translation>
    </message>
    <message>
        <source>Zobrazí nápovědu
Nápověda</source>
        <translation>Shows the help
Help</translation>
    </message>
    <message>
        <source>Zobrazí nebo skryje paletu nástrojů
Paleta nástrojů</source>
        <translation>Shows or hides the tool palette
Tool Palette</translation>
    </message>
    <message>
        <source>Zobrazí nebo skryje paletu výplní
Paleta výplní</source>
        <translation>Shows or hides the fill palette
Fill Palette</translation>
    </message>
    <message>
        <source>Zobrazí nebo skryje panel velikostí
Panel velikostí</source>
        <translation>Shows or hides the size bar
Size Bar</translation>
    </message>
    <message>
        <source>Použije jazyk pracovní plochy
Podle systému</source>
        <translation>Speaks the desktop&apos;s language
As the Desktop</translation>
    </message>
    <message>
        <source>Přepne program do češtiny
Čeština</source>
        <translation>Puts the program in Czech
Čeština</translation>
    </message>
    <message>
        <source>Přepne program do angličtiny
English</source>
        <translation>Puts the program in English
English</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>&amp;Soubor</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Nový</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>&amp;Otevřít...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>&amp;Uložit</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Uložit &amp;jako...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>Exportovat...</source>
        <translation>&amp;Export...</translation>
    </message>
    <message>
        <source>&amp;Tisk...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>Tisk v &amp;měřítku...</source>
        <translation>Print to S&amp;cale...</translation>
    </message>
    <message>
        <source>Ná&amp;hled</source>
        <translation>Print Pre&amp;view</translation>
    </message>
    <message>
        <source>Na&amp;stavení tisku...</source>
        <translation>P&amp;rint Setup...</translation>
    </message>
    <message>
        <source>Nedávný soubor</source>
        <translation>Recent File</translation>
    </message>
    <message>
        <source>Konec</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Úpravy</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Zpět</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>Z&amp;novu</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>&amp;Vyjmout</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>&amp;Kopírovat</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>V&amp;ložit</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>&amp;Zobrazit</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>Panely</source>
        <translation>&amp;Bars</translation>
    </message>
    <message>
        <source>&amp;Panel nástrojů</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>Panel velikostí</source>
        <translation>Size Bar</translation>
    </message>
    <message>
        <source>Paleta nástrojů</source>
        <translation>Tool Palette</translation>
    </message>
    <message>
        <source>Paleta výplní/symbolů</source>
        <translation>&amp;Fill/Symbol Palette</translation>
    </message>
    <message>
        <source>&amp;Stavový řádek</source>
        <translation>Status &amp;Bar</translation>
    </message>
    <message>
        <source>Přiblížit</source>
        <translation>Zoom &amp;In</translation>
    </message>
    <message>
        <source>Oddálit</source>
        <translation>Zoom &amp;Out</translation>
    </message>
    <message>
        <source>Celá mapa</source>
        <translation>&amp;Whole Map</translation>
    </message>
    <message>
        <source>Skutečná velikost</source>
        <translation>&amp;Actual Size</translation>
    </message>
    <message>
        <source>&amp;Mřížka</source>
        <translation>&amp;Grid</translation>
    </message>
    <message>
        <source>&amp;Nástroje</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>dlaždice</source>
        <translation>tiles</translation>
    </message>
    <message>
        <source>dlaždice v síti</source>
        <translation>grid tiles</translation>
    </message>
    <message>
        <source>kreslení</source>
        <translation>freehand</translation>
    </message>
    <message>
        <source>obdélník</source>
        <translation>rectangle</translation>
    </message>
    <message>
        <source>elipsa</source>
        <translation>ellipse</translation>
    </message>
    <message>
        <source>mnohoúhelník</source>
        <translation>polygon</translation>
    </message>
    <message>
        <source>text</source>
        <translation>text</translation>
    </message>
    <message>
        <source>symboly</source>
        <translation>symbols</translation>
    </message>
    <message>
        <source>vybrat</source>
        <translation>select</translation>
    </message>
    <message>
        <source>čáry</source>
        <translation>lines</translation>
    </message>
    <message>
        <source>Velikost</source>
        <translation>&amp;Size</translation>
    </message>
    <message>
        <source>žádná</source>
        <translation>none</translation>
    </message>
    <message>
        <source>malá</source>
        <translation>small</translation>
    </message>
    <message>
        <source>střední</source>
        <translation>medium</translation>
    </message>
    <message>
        <source>velká</source>
        <translation>large</translation>
    </message>
    <message>
        <source>&amp;Nastavení</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>&amp;Nastavení...</source>
        <translation>&amp;Settings...</translation>
    </message>
    <message>
        <source>Zvětšit mřížku</source>
        <translation>&amp;Larger Grid</translation>
    </message>
    <message>
        <source>Zmenšit mřížku</source>
        <translation>S&amp;maller Grid</translation>
    </message>
    <message>
        <source>&amp;Jazyk</source>
        <translation>Lan&amp;guage</translation>
    </message>
    <message>
        <source>Podle &amp;systému</source>
        <translation>As the &amp;Desktop</translation>
    </message>
    <message>
        <source>Čeština</source>
        <translation>Čeština</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>&amp;Nápověda</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;O programu ZK...</source>
        <translation>&amp;About ZK...</translation>
    </message>
    <message>
        <source>Panel nástrojů</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>Výplně</source>
        <translation>Fills</translation>
    </message>
    <message>
        <source>Připraven</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>Mapy BMP (*.bmp)</source>
        <translation>Map Files (*.bmp)</translation>
    </message>
    <message>
        <source>Mapy PNG (*.png)</source>
        <translation>PNG Maps (*.png)</translation>
    </message>
    <message>
        <source>Mapy BMP a PNG (*.bmp *.png)</source>
        <translation>BMP and PNG Maps (*.bmp *.png)</translation>
    </message>
    <message>
        <source>Obrázek PNG (*.png)</source>
        <translation>PNG Picture (*.png)</translation>
    </message>
    <message>
        <source>Dokument PDF v měřítku (*.pdf)</source>
        <translation>PDF Document to Scale (*.pdf)</translation>
    </message>
</context>
<context>
    <name>Reason</name>
    <message>
        <source>soubor nelze otevřít</source>
        <translation>cannot open file</translation>
    </message>
    <message>
        <source>soubor nelze přečíst</source>
        <translation>cannot read file</translation>
    </message>
    <message>
        <source>soubor nelze zapsat</source>
        <translation>cannot write file</translation>
    </message>
    <message>
        <source>soubor je jen pro čtení</source>
        <translation>the file is read-only</translation>
    </message>
    <message>
        <source>není to obyčejný soubor</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>řádky souboru nelze vytvořit</source>
        <translation>the rows could not be made</translation>
    </message>
    <message>
        <source>soubor je zkrácený (hlavička)</source>
        <translation>file is truncated (header)</translation>
    </message>
    <message>
        <source>soubor je zkrácený (hlavička souboru)</source>
        <translation>file is truncated (file header)</translation>
    </message>
    <message>
        <source>soubor je zkrácený (zmenšil se během čtení)</source>
        <translation>file is truncated (it shrank while read)</translation>
    </message>
    <message>
        <source>chybná hlavička</source>
        <translation>bad header</translation>
    </message>
    <message>
        <source>výška 0</source>
        <translation>height 0</translation>
    </message>
    <message>
        <source>nepodporovaná komprese</source>
        <translation>unsupported compression</translation>
    </message>
    <message>
        <source>nepodporováno</source>
        <translation>unsupported</translation>
    </message>
    <message>
        <source>vložený obrázek JPEG</source>
        <translation>embedded JPEG image</translation>
    </message>
    <message>
        <source>vložený obrázek PNG</source>
        <translation>embedded PNG image</translation>
    </message>
    <message>
        <source>není to soubor bitmapy (chybí podpis BM)</source>
        <translation>not a bitmap file (no BM signature)</translation>
    </message>
    <message>
        <source>není to soubor PNG (chybí podpis PNG)</source>
        <translation>not a PNG file (no PNG signature)</translation>
    </message>
    <message>
        <source>obrázek je pro soubor bitmapy příliš velký</source>
        <translation>image too large for a bitmap file</translation>
    </message>
    <message>
        <source>bitmapa je prázdná</source>
        <translation>the bitmap is empty</translation>
    </message>
    <message>
        <source>prázdnou bitmapu nelze zapsat</source>
        <translation>cannot write an empty bitmap</translation>
    </message>
    <message>
        <source>na mapu není dost paměti</source>
        <translation>not enough memory for the map</translation>
    </message>
    <message>
        <source>na novou mapu není dost paměti</source>
        <translation>not enough memory for a new map</translation>
    </message>
    <message>
        <source>na obraz souboru bitmapy není dost paměti</source>
        <translation>out of memory for the bitmap&apos;s file image</translation>
    </message>
    <message>
        <source>na řádky souboru není dost paměti</source>
        <translation>out of memory for the file&apos;s rows</translation>
    </message>
    <message>
        <source>na soubor PNG není dost paměti</source>
        <translation>out of memory for the PNG file</translation>
    </message>
    <message>
        <source>na čtení souboru PNG není dost paměti</source>
        <translation>out of memory for the PNG reader</translation>
    </message>
    <message>
        <source>na soubor Universal VTT není dost paměti</source>
        <translation>out of memory for the Universal VTT file</translation>
    </message>
    <message>
        <source>mapa musí mít aspoň 1 × 1 bod (požadováno %1 × %2)</source>
        <translation>the map must be at least 1 x 1 pixel (asked for %1 x %2)</translation>
    </message>
    <message>
        <source>mapa smí mít nejvýš 65535 bodů na stranu a 268435456 bodů celkem (požadováno %1 × %2)</source>
        <translation>the map may have at most 65535 pixels a side and 268435456 pixels in all (asked for %1 x %2)</translation>
    </message>
    <message>
        <source>má %1 × %2 bodů a mapa smí mít nejvýš 65535 bodů na stranu a 268435456 bodů celkem</source>
        <translation>it is %1 x %2 pixels, and a map may have at most 65535 pixels a side and 268435456 pixels in all</translation>
    </message>
    <message>
        <source>je v podobě, kterou nelze přečíst</source>
        <translation>it is in a form that cannot be read</translation>
    </message>
    <message>
        <source>není na něj dost paměti</source>
        <translation>there is not enough memory for it</translation>
    </message>
    <message>
        <source>mapa nemá žádné body nebo žádnou mřížku</source>
        <translation>the map has no pixels or no grid</translation>
    </message>
    <message>
        <source>buňka musí měřit víc než 0 mm</source>
        <translation>the cell size must be more than 0 mm</translation>
    </message>
    <message>
        <source>překryv je 0 až 3 buňky</source>
        <translation>the overlap is 0 to 3 cells</translation>
    </message>
    <message>
        <source>překryv zabírá celou stránku</source>
        <translation>the overlap takes the whole page</translation>
    </message>
    <message>
        <source>mapa by zabrala víc než %1 stran</source>
        <translation>the map would take more than %1 pages</translation>
    </message>
    <message>
        <source>záznam neobsahuje žádnou mapu</source>
        <translation>the store holds no map</translation>
    </message>
    <message>
        <source>záznam nelze přečíst</source>
        <translation>the store cannot be read</translation>
    </message>
    <message>
        <source>záznam je poškozený</source>
        <translation>the store is damaged</translation>
    </message>
    <message>
        <source>záznam odkazuje na neznámý základ</source>
        <translation>the store names an unknown base</translation>
    </message>
    <message>
        <source>záznam má chybnou velikost mapy</source>
        <translation>the store&apos;s map size is wrong</translation>
    </message>
    <message>
        <source>dlaždice záznamu je poškozená</source>
        <translation>a tile of the store is damaged</translation>
    </message>
    <message>
        <source>v záznamu chybí dlaždice mapy</source>
        <translation>the store misses tiles of the map</translation>
    </message>
    <message>
        <source>záznam obsahuje dlaždici mimo mapu</source>
        <translation>the store holds a tile outside the map</translation>
    </message>
    <message>
        <source>záznam zapsala novější verze ZK (formát %1)</source>
        <translation>the store was written by a newer version of ZK (format %1)</translation>
    </message>
    <message>
        <source>dlaždici nelze zkomprimovat</source>
        <translation>cannot compress a tile</translation>
    </message>
    <message>
        <source>dlaždici nelze zapsat</source>
        <translation>cannot write a tile</translation>
    </message>
    <message>
        <source>popis mapy nelze zapsat</source>
        <translation>cannot write the map&apos;s description</translation>
    </message>
    <message>
        <source>soubor tam při spuštění programu nešel přečíst, a tak zůstal, jak byl</source>
        <translation>the file there could not be read when the program started, and is kept as it was</translation>
    </message>
    <message>
        <source>stránky PDF nelze vytvořit</source>
        <translation>cannot make the PDF pages</translation>
    </message>
</context>
<context>
    <name>Validation</name>
    <message>
        <source>Zadejte celé číslo.</source>
        <translation>Please enter an integer.</translation>
    </message>
    <message>
        <source>Zadejte celé číslo od %1 do %2.</source>
        <translation>Please enter an integer between %1 and %2.</translation>
    </message>
    <message>
        <source>Tuto velikost nelze použít: %1.</source>
        <translation>The size cannot be used: %1.</translation>
    </message>
</context>
<context>
    <name>zk::CAboutDlg</name>
    <message>
        <source>ZK verze %1</source>
        <translation>ZK version %1</translation>
    </message>
    <message>
        <source>Malování map na mřížce</source>
        <translation>Grid-map painting</translation>
    </message>
</context>
<context>
    <name>zk::CFillsDlg</name>
    <message>
        <source>Výplně</source>
        <translation>Fills</translation>
    </message>
    <message>
        <source>Storno</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>zk::CMainFrame</name>
    <message>
        <source>Bez názvu</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>buňka %1, %2</source>
        <translation>cell %1, %2</translation>
    </message>
    <message>
        <source>Není nastaven žádný program, který ukazuje stránky HTML.
Nápověda je v souboru %1.</source>
        <translation>No program to show HTML pages is set up.
The help page is %1.</translation>
    </message>
    <message>
        <source>Obrázek ze schránky nelze vložit.
%1</source>
        <translation>The picture on the clipboard could not be pasted.
%1</translation>
    </message>
    <message>
        <source>Velikost mapy nelze změnit.
%1</source>
        <translation>The map could not be resized.
%1</translation>
    </message>
    <message>
        <source>Mapu nelze uložit do %1.
%2</source>
        <translation>The map could not be saved to %1.
%2</translation>
    </message>
    <message>
        <source>Mapu nelze otevřít ze souboru %1.
%2</source>
        <translation>The map could not be opened from %1.
%2</translation>
    </message>
    <message>
        <source>Novou mapu nelze vytvořit.
%1</source>
        <translation>A new map could not be made.
%1</translation>
    </message>
    <message>
        <source>Mapu nelze exportovat do %1.
%2</source>
        <translation>The map could not be exported to %1.
%2</translation>
    </message>
    <message>
        <source>Mapu %1 nelze obnovit.
%2
Záznam zůstal jako %3.broken.</source>
        <translation>The map %1 cannot be restored.
%2
Its record is kept as %3.broken.</translation>
    </message>
    <message>
        <source>Obnova po pádu je vypnuta: %1</source>
        <translation>Crash recovery is off: %1</translation>
    </message>
    <message>
        <source>Neuložené mapy ponechány pro příští spuštění: %1</source>
        <translation>Unsaved maps kept for the next start: %1</translation>
    </message>
</context>
<context>
    <name>zk::CNewMapDlg</name>
    <message>
        <source>Nová mapa</source>
        <translation>New Map</translation>
    </message>
    <message>
        <source>Storno</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Šířka:</source>
        <translation>Width:</translation>
    </message>
    <message>
        <source>Výška:</source>
        <translation>Height:</translation>
    </message>
    <message>
        <source>pixelů</source>
        <translation>pixels</translation>
    </message>
</context>
<context>
    <name>zk::CScaledPrintDlg</name>
    <message>
        <source>na šířku</source>
        <translation>landscape</translation>
    </message>
    <message>
        <source>na výšku</source>
        <translation>portrait</translation>
    </message>
    <message>
        <source>Tisk v měřítku</source>
        <translation>Print to Scale</translation>
    </message>
    <message>
        <source>palce</source>
        <translation>inches</translation>
    </message>
    <message>
        <source>Buňka mřížky:</source>
        <translation>Grid cell:</translation>
    </message>
    <message>
        <source>Vzhled stránky...</source>
        <translation>Page Setup...</translation>
    </message>
    <message>
        <source>Papír:</source>
        <translation>Paper:</translation>
    </message>
    <message>
        <source>Řezat na čarách mřížky</source>
        <translation>Cut along grid lines</translation>
    </message>
    <message numerus="yes">
        <source>buněk</source>
        <comment>after the overlap</comment>
        <translation>
            <numerusform>cell</numerusform>
            <numerusform>cells</numerusform>
        </translation>
    </message>
    <message>
        <source>Překryv:</source>
        <translation>Overlap:</translation>
    </message>
    <message>
        <source>Stránky:</source>
        <translation>Pages:</translation>
    </message>
    <message>
        <source>Tisk</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Náhled</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Storno</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>zk::CSettingsDlg</name>
    <message>
        <source>Nastavení</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Storno</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Velikost mřížky:</source>
        <translation>Grid size:</translation>
    </message>
    <message>
        <source>Mapa</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>Šířka:</source>
        <translation>Width:</translation>
    </message>
    <message>
        <source>Výška:</source>
        <translation>Height:</translation>
    </message>
    <message>
        <source>Přesahující okraj mřížky</source>
        <translation>Overhanging grid edge</translation>
    </message>
</context>
<context>
    <name>zk::CSymbolDlg</name>
    <message>
        <source>Symbol</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>Doleva</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Doprava</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Zrcadlit V.</source>
        <translation>Mirror V.</translation>
    </message>
    <message>
        <source>Zrcadlit H.</source>
        <translation>Mirror H.</translation>
    </message>
</context>
<context>
    <name>zk::CTextDlg</name>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Storno</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>&amp;Písmo</source>
        <translation>&amp;Font</translation>
    </message>
</context>
<context>
    <name>zk::CZKApp</name>
    <message>
        <source>Tyto upravené soubory výplní a symbolů nelze zapsat:
</source>
        <translation>These edited pattern files could not be written:
</translation>
    </message>
    <message>
        <source>

Pokud se nezapíšou, jejich úpravy se ztratí.</source>
        <translation>

Their edits are lost unless they are written.</translation>
    </message>
    <message>
        <source>Mapu nelze otevřít ze souboru %1.
%2</source>
        <translation>The map could not be opened from %1.
%2</translation>
    </message>
</context>
<context>
    <name>zk::CZKView</name>
    <message>
        <source>Tisk</source>
        <translation>Print</translation>
    </message>
</context>
<context>
    <name>zk::FramePrompts</name>
    <message>
        <source>Mapa %1 nebyla uložena, když ZK naposledy skončil.
Poslední změna: %2.

Obnovit ji?</source>
        <translation>The map %1 was not saved when ZK last ended.
Last changed: %2.

Restore it?</translation>
    </message>
    <message>
        <source>Obnovit</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Zahodit</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Ponechat na později</source>
        <translation>Keep for Later</translation>
    </message>
    <message>
        <source>Uložit změny do %1?</source>
        <translation>Save changes to %1?</translation>
    </message>
    <message>
        <source>Mapa má %1 barev; 8bitový soubor jich pojme 256.
Uložit ji s každou barvou nahrazenou nejbližší z 256 standardních?</source>
        <translation>The map has %1 colours; an 8-bit file keeps 256.
Save it with each colour replaced by the nearest of the 256 standard ones?</translation>
    </message>
    <message>
        <source>Exportovat</source>
        <translation>Export</translation>
    </message>
</context>
<context>
    <name>zk::ScaledPrint</name>
    <message>
        <source>Takto mapu vytisknout nelze: %1.</source>
        <translation>The map cannot be printed like this: %1.</translation>
    </message>
    <message numerus="yes">
        <source>%n stran (%1 × %2) a přehled</source>
        <translation>
            <numerusform>%n page (%1 × %2) and an overview</numerusform>
            <numerusform>%n pages (%1 × %2) and an overview</numerusform>
        </translation>
    </message>
    <message>
        <source>strana %1 z %2</source>
        <translation>page %1 of %2</translation>
    </message>
    <message>
        <source>50 mm: tiskněte ve skutečné velikosti (100 %), bez přizpůsobení stránce</source>
        <translation>50 mm: print at actual size (100 %), not fitted to the page</translation>
    </message>
    <message>
        <source>Přehled</source>
        <translation>Overview</translation>
    </message>
</context>
</TS>

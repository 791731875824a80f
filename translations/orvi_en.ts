<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="pl_PL">
<context>
    <name>TBroadbandActions</name>
    <message>
        <source>plików</source>
        <translation>files</translation>
    </message>
    <message>
        <source>Folder plików FRD</source>
        <translation>Folder for the FRD files</translation>
    </message>
    <message>
        <source>&amp;Mapa kierunkowości</source>
        <translation>Directivity &amp;map</translation>
    </message>
    <message>
        <source>|Pokazuje mapę kierunkowości ostatniego pomiaru szerokopasmowego aktywnego dokumentu</source>
        <translation>|Shows the directivity map of the active document&apos;s last broadband measurement</translation>
    </message>
    <message>
        <source>Eksportuj &amp;FRD…</source>
        <translation>Export &amp;FRD…</translation>
    </message>
    <message>
        <source>|Zapisuje charakterystyki ostatnich pomiarów szerokopasmowych w obu płaszczyznach co 10° do plików FRD</source>
        <translation>|Writes the responses of the last broadband measurements of both planes every 10° to FRD files</translation>
    </message>
    <message>
        <source>Zapisano %1 %2 FRD w folderze %3</source>
        <translation>Wrote %1 FRD %2 to the folder %3</translation>
    </message>
    <message>
        <source>Nie wszystkie pomiary dokumentu odczytano: %1</source>
        <translation>Not all of the document&apos;s measurements could be read: %1</translation>
    </message>
    <message>
        <source>plik</source>
        <translation>file</translation>
    </message>
    <message>
        <source>pliki</source>
        <translation>files</translation>
    </message>
</context>
<context>
    <name>TFrmMain</name>
    <message>
        <source>&amp;Plik</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Po&amp;miar</source>
        <translation>&amp;Measurement</translation>
    </message>
    <message>
        <source>&amp;Wykres</source>
        <translation>&amp;Chart</translation>
    </message>
    <message>
        <source>&amp;Narzędzia</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>&amp;Kontrola stolika</source>
        <translation>&amp;Turntable control</translation>
    </message>
    <message>
        <source>&amp;Okno</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>&amp;Pomoc</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Plik</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Narzędzia</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>Rozmiar</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Pomiar</source>
        <translation>Measurement</translation>
    </message>
</context>
<context>
    <name>TFrmMapa</name>
    <message>
        <source>Mapa kierunkowości</source>
        <translation>Directivity map</translation>
    </message>
    <message>
        <source>Brak pomiaru szerokopasmowego w aktywnym dokumencie.</source>
        <translation>The active document has no broadband measurement.</translation>
    </message>
    <message>
        <source>Eksportuj…</source>
        <translation>Export…</translation>
    </message>
</context>
<context>
    <name>TFrmOpcje</name>
    <message>
        <source>Opcje</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Katalogi</source>
        <translation>Folders</translation>
    </message>
    <message>
        <source>Sygnał wejściowy</source>
        <translation>Input signal</translation>
    </message>
    <message>
        <source>Sygnal wyjściowy</source>
        <translation>Output signal</translation>
    </message>
    <message>
        <source>Sterowanie</source>
        <translation>Control</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Anuluj</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>&amp;Zastosuj</source>
        <translation>&amp;Apply</translation>
    </message>
    <message>
        <source>&amp;Katalog roboczy  </source>
        <translation>&amp;Working folder  </translation>
    </message>
    <message>
        <source>&amp;Język programu  </source>
        <translation>Program &amp;language  </translation>
    </message>
    <message>
        <source>Zmiana języka obowiązuje od następnego uruchomienia programu.</source>
        <translation>A new language takes effect the next time the program starts.</translation>
    </message>
    <message>
        <source>&amp;Urządzenie wejściowe   </source>
        <translation>&amp;Input device   </translation>
    </message>
    <message>
        <source>&amp;Urządzenie wyjściowe   </source>
        <translation>&amp;Output device   </translation>
    </message>
    <message>
        <source>Parametry sygnału  </source>
        <translation>Signal format  </translation>
    </message>
    <message>
        <source>&amp;Częstotliwość próbkowania </source>
        <translation>&amp;Sample rate </translation>
    </message>
    <message>
        <source>48 000 Hz</source>
        <translation>48,000 Hz</translation>
    </message>
    <message>
        <source>44 100 Hz</source>
        <translation>44,100 Hz</translation>
    </message>
    <message>
        <source>22 050 Hz</source>
        <translation>22,050 Hz</translation>
    </message>
    <message>
        <source>11 025 Hz</source>
        <translation>11,025 Hz</translation>
    </message>
    <message>
        <source>&amp;Rozdzielczość</source>
        <translation>&amp;Resolution</translation>
    </message>
    <message>
        <source>16 bitów</source>
        <translation>16 bits</translation>
    </message>
    <message>
        <source>8 bitów</source>
        <translation>8 bits</translation>
    </message>
    <message>
        <source>Rozmiar &amp;bufora w bajtach  </source>
        <translation>&amp;Buffer size in bytes  </translation>
    </message>
    <message>
        <source>Rozmiar bufora do wyznaczenia punktu ch-ki </source>
        <translation>Input per point of the response, bytes </translation>
    </message>
    <message>
        <source>Port LPT </source>
        <translation>LPT port </translation>
    </message>
    <message>
        <source>&amp;Numer portu</source>
        <translation>Port &amp;number</translation>
    </message>
    <message>
        <source>Adres</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>&amp;Czas nieczułości na sygnał markujący </source>
        <translation>Marker pulse &amp;dead time </translation>
    </message>
    <message>
        <source>LPT%1</source>
        <translation>LPT%1</translation>
    </message>
    <message>
        <source>Wybierz folder tymczasowy</source>
        <translation>Choose the working folder</translation>
    </message>
    <message>
        <source>Liczba punktów ch-ki przy pełnym obrocie: %1</source>
        <translation>Points of the response in a full turn: %1</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>Folder roboczy nie może być pusty; pozostaje &quot;%1&quot;.</source>
        <translation>The working folder cannot be empty; it stays &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>TFrmSpinorama</name>
    <message>
        <source>Brak pomiarów szerokopasmowych w obu płaszczyznach (poziomej i pionowej) w aktywnym dokumencie.</source>
        <translation>The active document lacks broadband measurements in both planes (horizontal and vertical).</translation>
    </message>
    <message>
        <source>Spinorama</source>
        <translation>Spinorama</translation>
    </message>
    <message>
        <source>Eksportuj…</source>
        <translation>Export…</translation>
    </message>
</context>
<context>
    <name>TMainActions</name>
    <message>
        <source>&amp;Nowy</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>Nowy|Tworzy nowy dokument</source>
        <translation>New|Creates a new document</translation>
    </message>
    <message>
        <source>&amp;Otworz</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>Otwórz|Otwiera istniejący dokument</source>
        <translation>Open|Opens an existing document</translation>
    </message>
    <message>
        <source>&amp;Zapisz</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Zapisz|Zapisuje aktywny dokument</source>
        <translation>Save|Saves the active document</translation>
    </message>
    <message>
        <source>Zapisz &amp;jako...</source>
        <translation>Save &amp;as...</translation>
    </message>
    <message>
        <source>|Zapisuje aktywny dokument z nową nazwą</source>
        <translation>|Saves the active document under a new name</translation>
    </message>
    <message>
        <source>&amp;Drukuj</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>|Drukuje wiącej otwartych dokumentów na jednej stronie</source>
        <translation>|Prints several open documents on one sheet</translation>
    </message>
    <message>
        <source>Za&amp;mknij</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>|Zamyka aktywny dokument</source>
        <translation>|Closes the active document</translation>
    </message>
    <message>
        <source>Zamknij &amp;wszystko</source>
        <translation>Close a&amp;ll</translation>
    </message>
    <message>
        <source>|Zamyka wszystkie okna</source>
        <translation>|Closes all windows</translation>
    </message>
    <message>
        <source>Za&amp;koncz</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>|Kończy działanie programu</source>
        <translation>|Quits the program</translation>
    </message>
    <message>
        <source>&amp;Dodaj</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>|Dodaje nowy pomiar do aktywnego dokumentu</source>
        <translation>|Adds a new measurement to the active document</translation>
    </message>
    <message>
        <source>&amp;Eksportuj</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>|Eksportuje aktywny dokument do pliku graficznego</source>
        <translation>|Exports the active document to a picture file</translation>
    </message>
    <message>
        <source>|Drukuje aktywny dokument</source>
        <translation>|Prints the active document</translation>
    </message>
    <message>
        <source>Edytor &amp;serii</source>
        <translation>&amp;Series editor</translation>
    </message>
    <message>
        <source>Edytor serii|Pokazuje/ukrywa menadżera serii</source>
        <translation>Series editor|Shows or hides the series editor</translation>
    </message>
    <message>
        <source>&amp;Ustawienia</source>
        <translation>Chart se&amp;ttings</translation>
    </message>
    <message>
        <source>|Zmienia ustawienia wykresu</source>
        <translation>|Changes the chart&apos;s settings</translation>
    </message>
    <message>
        <source>&amp;Odswiez</source>
        <translation>&amp;Refresh</translation>
    </message>
    <message>
        <source>|Odświeża zawartość dokumentu</source>
        <translation>|Redraws the document</translation>
    </message>
    <message>
        <source>&amp;Opcje</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>Opcje|Zmienia opcje programu</source>
        <translation>Options|Changes the program&apos;s options</translation>
    </message>
    <message>
        <source>&amp;Generator</source>
        <translation>&amp;Generator</translation>
    </message>
    <message>
        <source>Generator|Pokazuje/ukrywa generator</source>
        <translation>Generator|Shows or hides the signal generator</translation>
    </message>
    <message>
        <source>&amp;Kontroler stolika</source>
        <translation>&amp;Turntable control</translation>
    </message>
    <message>
        <source>Kontrola stolika|Pokazuje/ukrywa panel kontrolny stolika</source>
        <translation>Turntable control|Shows or hides the turntable control panel</translation>
    </message>
    <message>
        <source>&amp;Wskaźnik wysterowania</source>
        <translation>&amp;Level meter</translation>
    </message>
    <message>
        <source>Wskaźnik wysterowania|Pokazuje/ukrywa wskaźnik wysterowania</source>
        <translation>Level meter|Shows or hides the level meter</translation>
    </message>
    <message>
        <source>&amp;Kaskada</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>|Rozmieszca okna kaskadowo</source>
        <translation>|Arranges the windows in a cascade</translation>
    </message>
    <message>
        <source>&amp;Sąsiadująco w pionie</source>
        <translation>Tile &amp;vertically</translation>
    </message>
    <message>
        <source>|Rozmieszca okna sąsiadująco w pionie</source>
        <translation>|Arranges the windows side by side, one above another</translation>
    </message>
    <message>
        <source>Sąsiadująco w &amp;poziomie</source>
        <translation>Tile &amp;horizontally</translation>
    </message>
    <message>
        <source>|Rozmieszca okna sąsiadująco w poziomie</source>
        <translation>|Arranges the windows side by side, next to each other</translation>
    </message>
    <message>
        <source>&amp;Dokumentacja</source>
        <translation>&amp;Documentation</translation>
    </message>
    <message>
        <source>&amp;O programie...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>|Pokazuje informacje o programie</source>
        <translation>|Shows information about the program</translation>
    </message>
</context>
<context>
    <name>TSpinActions</name>
    <message>
        <source>Folder dla spinoramy</source>
        <translation>Folder for the spinorama files</translation>
    </message>
    <message>
        <source>Spi&amp;norama</source>
        <translation>Spi&amp;norama</translation>
    </message>
    <message>
        <source>|Pokazuje krzywe CTA-2034 z ostatnich pomiarów szerokopasmowych w płaszczyźnie poziomej i pionowej</source>
        <translation>|Shows the CTA-2034 curves of the last broadband measurements in the horizontal and vertical planes</translation>
    </message>
    <message>
        <source>Eksportuj dla spinoram&amp;y…</source>
        <translation>Export for sp&amp;inorama…</translation>
    </message>
    <message>
        <source>|Zapisuje charakterystyki obu płaszczyzn co 10° do plików tekstowych w jednym folderze</source>
        <translation>|Writes the responses of both planes every 10° to text files in one folder</translation>
    </message>
    <message>
        <source>Eksportuj krzywe &amp;CTA-2034…</source>
        <translation>Export &amp;CTA-2034 curves…</translation>
    </message>
    <message>
        <source>|Zapisuje krzywe spinoramy i wskaźniki kierunkowości do pliku CSV</source>
        <translation>|Writes the spinorama curves and the directivity indices to a CSV file</translation>
    </message>
    <message>
        <source>Zapisano %1 %2 dla spinoramy w folderze %3</source>
        <translation>Wrote %1 spinorama %2 to the folder %3</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
</context>
</TS>

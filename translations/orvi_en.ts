<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="pl_PL">
<context>
    <name>MeasurementColors</name>
    <message>
        <source>Czarny</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>Wiśniowy</source>
        <translation>Maroon</translation>
    </message>
    <message>
        <source>Zielony</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>Oliwkowy</source>
        <translation>Olive</translation>
    </message>
    <message>
        <source>Granatowy</source>
        <translation>Navy</translation>
    </message>
    <message>
        <source>Fioletowy </source>
        <translation>Purple </translation>
    </message>
    <message>
        <source>Ciemnobłękitny</source>
        <translation>Teal</translation>
    </message>
    <message>
        <source>Szary</source>
        <translation>Grey</translation>
    </message>
    <message>
        <source>Srebrny</source>
        <translation>Silver</translation>
    </message>
    <message>
        <source>Czerwony</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>Jasnozielony</source>
        <translation>Light green</translation>
    </message>
    <message>
        <source>Żółty</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>Niebieski</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>Różowy</source>
        <translation>Pink</translation>
    </message>
    <message>
        <source>Turkusowy</source>
        <translation>Turquoise</translation>
    </message>
    <message>
        <source>Biały</source>
        <translation>White</translation>
    </message>
</context>
<context>
    <name>SeriesEditorColors</name>
    <message>
        <source>Czarny</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>Wiśniowy</source>
        <translation>Maroon</translation>
    </message>
    <message>
        <source>Zielony</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>Oliwkowy</source>
        <translation>Olive</translation>
    </message>
    <message>
        <source>Granatowy</source>
        <translation>Navy</translation>
    </message>
    <message>
        <source>Fioletowy </source>
        <translation>Purple </translation>
    </message>
    <message>
        <source>Ciemnobłękitny</source>
        <translation>Teal</translation>
    </message>
    <message>
        <source>Szary</source>
        <translation>Grey</translation>
    </message>
    <message>
        <source>Czerwony</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>Jasnozielony</source>
        <translation>Light green</translation>
    </message>
    <message>
        <source>Żółty</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>Niebieski</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>Różowy</source>
        <translation>Pink</translation>
    </message>
    <message>
        <source>Turkusowy</source>
        <translation>Turquoise</translation>
    </message>
    <message>
        <source>Biały</source>
        <translation>White</translation>
    </message>
    <message>
        <source>Srebrny</source>
        <translation>Silver</translation>
    </message>
</context>
<context>
    <name>TAudioIO</name>
    <message>
        <source>Urządzenie wyjściowe nie przyjmuje dźwięku od %1 s: serwer dźwięku nie odpowiada. Odtwarzanie zatrzymano.</source>
        <translation>The output device has not taken any sound for %1 s: the sound server is not responding. Playback stopped.</translation>
    </message>
    <message>
        <source>Urządzenie wejściowe nie dostarcza dźwięku od %1 s: serwer dźwięku nie odpowiada. Nagrywanie zatrzymano.</source>
        <translation>The input device has not delivered any sound for %1 s: the sound server is not responding. Recording stopped.</translation>
    </message>
    <message>
        <source>Nie ma urządzenia wyjściowego nr %1 (odłączone?); użyto domyślnego urządzenia.</source>
        <translation>Output device no. %1 is missing (unplugged?); the default device is used.</translation>
    </message>
    <message>
        <source>Nie ma urządzenia wejściowego nr %1 (odłączone?); użyto domyślnego urządzenia.</source>
        <translation>Input device no. %1 is missing (unplugged?); the default device is used.</translation>
    </message>
</context>
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
    <name>TBroadbandAnalysis</name>
    <message>
        <source>Blok generatora jest za krótki do analizy szerokopasmowej.</source>
        <translation>The generator block is too short for broadband analysis.</translation>
    </message>
    <message>
        <source>Sygnał nie powtarza się w kolejnych blokach generatora.</source>
        <translation>The signal does not repeat in successive generator blocks.</translation>
    </message>
    <message>
        <source>Sygnał generatora jest cichy (amplituda 0%).</source>
        <translation>The generator signal is silent (amplitude 0%).</translation>
    </message>
    <message>
        <source>%1 Charakterystyki podano bez korekcji mikrofonu.</source>
        <translation>%1 The responses are given without microphone correction.</translation>
    </message>
    <message>
        <source>Nagranie zawiera %1 pełnych okresów sygnału w obracanym zakresie; potrzeba co najmniej dwóch.</source>
        <translation>The recording holds %1 whole signal periods over the turned range; at least two are needed.</translation>
    </message>
    <message>
        <source>Nie znaleziono odbicia w odpowiedzi; bramka zamyka się po %1 ms.</source>
        <translation>No reflection found in the response; the gate closes after %1 ms.</translation>
    </message>
    <message>
        <source>Bramka %1 ms nie rozróżnia częstotliwości poniżej %2 Hz; niepewne pasma: %3.</source>
        <translation>A %1 ms gate cannot resolve frequencies below %2 Hz; unreliable bands: %3.</translation>
    </message>
    <message>
        <source>Stolik obraca się o %1° w czasie jednego okresu sygnału; odpowiedzi są rozmyte (zwolnij obrót lub skróć bufor odtwarzania).</source>
        <translation>The turntable turns %1° during one signal period; the responses are smeared (slow the turn down or shorten the playback buffer).</translation>
    </message>
</context>
<context>
    <name>TBroadbandGroup</name>
    <message>
        <source>brak</source>
        <translation>none</translation>
    </message>
    <message>
        <source>1/%1 oktawy</source>
        <translation>1/%1 octave</translation>
    </message>
    <message>
        <source>Analiza szerokopasmowa</source>
        <translation>Broadband analysis</translation>
    </message>
    <message>
        <source>automatyczna</source>
        <translation>automatic</translation>
    </message>
    <message>
        <source>pozioma</source>
        <translation>horizontal</translation>
    </message>
    <message>
        <source>pionowa</source>
        <translation>vertical</translation>
    </message>
    <message>
        <source>Częstotliwości [Hz]</source>
        <translation>Frequencies [Hz]</translation>
    </message>
    <message>
        <source>Płaszczyzna</source>
        <translation>Plane</translation>
    </message>
    <message>
        <source>Wygładzanie</source>
        <translation>Smoothing</translation>
    </message>
    <message>
        <source>Bramka</source>
        <translation>Gate</translation>
    </message>
</context>
<context>
    <name>TBroadbandOptions</name>
    <message>
        <source>Podaj co najmniej jedną częstotliwość.</source>
        <translation>Enter at least one frequency.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; nie jest częstotliwością.</source>
        <translation>&quot;%1&quot; is not a frequency.</translation>
    </message>
    <message>
        <source>Częstotliwość %1 Hz jest poza zakresem 1..96000 Hz.</source>
        <translation>The frequency %1 Hz is outside the range 1..96000 Hz.</translation>
    </message>
    <message>
        <source>Częstotliwości muszą rosnąć i nie mogą się powtarzać.</source>
        <translation>The frequencies must rise and must not repeat.</translation>
    </message>
    <message>
        <source>Chirp kończy się na %1 Hz, poniżej najwyższego pasma (%2 Hz): podnieś częstotliwość sygnału.</source>
        <translation>The chirp ends at %1 Hz, below the highest band (%2 Hz): raise the signal frequency.</translation>
    </message>
    <message>
        <source>Impuls nie pobudza co drugiej częstotliwości; do analizy szerokopasmowej wybierz MLS lub Chirp.</source>
        <translation>The impulse does not excite every other frequency; choose MLS or Chirp for broadband analysis.</translation>
    </message>
    <message>
        <source>Ten sygnał nie powtarza się w każdym bloku generatora albo nie pobudza wszystkich pasm; do analizy szerokopasmowej wybierz MLS lub Chirp.</source>
        <translation>This signal does not repeat in every generator block or does not excite all bands; choose MLS or Chirp for broadband analysis.</translation>
    </message>
    <message>
        <source>Pasmo %1 Hz nie leży poniżej połowy częstotliwości próbkowania nagrania (%2 Hz przy %3 Hz).</source>
        <translation>The %1 Hz band is not below half the recording&apos;s sample rate (%2 Hz at %3 Hz).</translation>
    </message>
</context>
<context>
    <name>TCalibratorReading</name>
    <message>
        <source>Nie nagrano żadnej próbki.</source>
        <translation>No sample was recorded.</translation>
    </message>
    <message>
        <source>Nagranie jest przesterowane (próbki osiągnęły pełną skalę): zmniejsz wzmocnienie wejścia i powtórz pomiar.</source>
        <translation>The recording is clipped (samples reached full scale): lower the input gain and repeat the measurement.</translation>
    </message>
    <message>
        <source>Poziom jest niższy niż %1 dBFS: sprawdź, czy kalibrator jest włączony i nałożony na mikrofon.</source>
        <translation>The level is below %1 dBFS: check that the calibrator is switched on and fitted to the microphone.</translation>
    </message>
    <message>
        <source>Poziom nie był stały (rozrzut %1 dB, dopuszczalne %2 dB): trzymaj kalibrator nieruchomo i powtórz pomiar.</source>
        <translation>The level was not steady (spread %1 dB, %2 dB allowed): hold the calibrator still and repeat the measurement.</translation>
    </message>
</context>
<context>
    <name>TChartExporter</name>
    <message>
        <source>błąd metapliku</source>
        <translation>metafile error</translation>
    </message>
    <message>
        <source>Nieprawidłowy rozmiar obrazu: %1 × %2</source>
        <translation>Invalid picture size: %1 × %2</translation>
    </message>
</context>
<context>
    <name>TDeviceList</name>
    <message>
        <source>Domyślne urządzenie (%1)</source>
        <translation>Default device (%1)</translation>
    </message>
</context>
<context>
    <name>TDirectivityMap</name>
    <message>
        <source>Kąt [°]</source>
        <translation>Angle [°]</translation>
    </message>
    <message>
        <source>Częstotliwość [Hz]</source>
        <translation>Frequency [Hz]</translation>
    </message>
    <message>
        <source>Brak danych</source>
        <translation>No data</translation>
    </message>
    <message>
        <source>Mapę</source>
        <translation>The map</translation>
    </message>
</context>
<context>
    <name>TDocumentFiles</name>
    <message>
        <source>*.OvK (Ch-ki Kierunkowości) (*.OvK)</source>
        <translation>*.OvK (Directivity characteristics) (*.OvK)</translation>
    </message>
    <message>
        <source>Pomiarów nie zapisano obok dokumentu %1.

%2</source>
        <translation>The measurements were not saved beside the document %1.

%2</translation>
    </message>
    <message>
        <source>Plik %1 już istnieje.
Czy chcesz go zastąpić?</source>
        <translation>The file %1 already exists.
Do you want to replace it?</translation>
    </message>
</context>
<context>
    <name>TFileWriter</name>
    <message>
        <source>błąd zapisu</source>
        <translation>write error</translation>
    </message>
    <message>
        <source>plik nie jest otwarty</source>
        <translation>the file is not open</translation>
    </message>
    <message>
        <source>za mało pamięci</source>
        <translation>not enough memory</translation>
    </message>
    <message>
        <source>w folderze nie można utworzyć pliku tymczasowego (%1), a zapis w miejscu starego pliku też się nie udał: %2</source>
        <translation>no temporary file can be created in the folder (%1), and writing over the old file failed too: %2</translation>
    </message>
    <message>
        <source>nie wiadomo, ile miejsca jest na dysku; stary plik pozostał bez zmian</source>
        <translation>the free space on the disk is unknown; the old file was left unchanged</translation>
    </message>
    <message>
        <source>na dysku nie ma miejsca na cały nowy plik (potrzeba %1 B, wolne %2 B); stary plik pozostał bez zmian</source>
        <translation>the disk has no room for the whole new file (%1 B needed, %2 B free); the old file was left unchanged</translation>
    </message>
    <message>
        <source>; stary plik pozostał bez zmian</source>
        <translation>; the old file was left unchanged</translation>
    </message>
    <message>
        <source>; plik może być uszkodzony</source>
        <translation>; the file may be damaged</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku &quot;%1&quot; (%2).</source>
        <translation>Cannot save the file &quot;%1&quot; (%2).</translation>
    </message>
</context>
<context>
    <name>TFrdExport</name>
    <message>
        <source>Krok kąta musi wynosić od 1° do 180°.</source>
        <translation>The angle step must be between 1° and 180°.</translation>
    </message>
    <message>
        <source>Folder &quot;%1&quot; nie istnieje.</source>
        <translation>The folder &quot;%1&quot; does not exist.</translation>
    </message>
</context>
<context>
    <name>TFrmAbout</name>
    <message>
        <source>O programie...</source>
        <translation>About Orvi...</translation>
    </message>
    <message>
        <source>program do pomiaru charakterystyk kierunkowości głośników</source>
        <translation>a program for measuring the directivity of loudspeakers</translation>
    </message>
    <message>
        <source>wersja 1.0</source>
        <translation>version 1.0</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>TFrmAnaliza</name>
    <message>
        <source>Analiza nagrania</source>
        <translation>Recording analysis</translation>
    </message>
</context>
<context>
    <name>TFrmChild</name>
    <message>
        <source>Zapisać zmiany w %1?</source>
        <translation>Save changes to %1?</translation>
    </message>
</context>
<context>
    <name>TFrmGenerator</name>
    <message>
        <source>Sinus</source>
        <translation>Sine</translation>
    </message>
    <message>
        <source>Cosinus</source>
        <translation>Cosine</translation>
    </message>
    <message>
        <source>Prostokąt</source>
        <translation>Square</translation>
    </message>
    <message>
        <source>Trójkąt</source>
        <translation>Triangle</translation>
    </message>
    <message>
        <source>Chirp</source>
        <translation>Chirp</translation>
    </message>
    <message>
        <source>Szum biały</source>
        <translation>White noise</translation>
    </message>
    <message>
        <source>Szum różowy</source>
        <translation>Pink noise</translation>
    </message>
    <message>
        <source>MLS</source>
        <translation>MLS</translation>
    </message>
    <message>
        <source>Impuls</source>
        <translation>Impulse</translation>
    </message>
    <message>
        <source>Generator</source>
        <translation>Generator</translation>
    </message>
    <message>
        <source>&amp;Rodzaj sygnału</source>
        <translation>S&amp;ignal type</translation>
    </message>
    <message>
        <source>&amp;Częstotliwość</source>
        <translation>&amp;Frequency</translation>
    </message>
    <message>
        <source>&amp;Amplituda</source>
        <translation>&amp;Amplitude</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>S&amp;top</translation>
    </message>
</context>
<context>
    <name>TFrmGraphSettings</name>
    <message>
        <source>Ustawienia wykresu</source>
        <translation>Chart settings</translation>
    </message>
    <message>
        <source>&amp;Osie</source>
        <translation>&amp;Axes</translation>
    </message>
    <message>
        <source>&amp;Serie</source>
        <translation>&amp;Series</translation>
    </message>
    <message>
        <source>Tytuł</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Czcionki</source>
        <translation>Fonts</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Anuluj</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>&amp;Zastosuj</source>
        <translation>A&amp;pply</translation>
    </message>
    <message>
        <source> Kąt </source>
        <translation> Angle </translation>
    </message>
    <message>
        <source>Linie głowne</source>
        <translation>Major lines</translation>
    </message>
    <message>
        <source>Linie pomocnicze</source>
        <translation>Minor lines</translation>
    </message>
    <message>
        <source> Poziom </source>
        <translation> Level </translation>
    </message>
    <message>
        <source>Linie główne</source>
        <translation>Major lines</translation>
    </message>
    <message>
        <source>Maksimun</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>Usuń</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Usuń wszystkie</source>
        <translation>Remove all</translation>
    </message>
    <message>
        <source>Tytuł wykresu</source>
        <translation>Chart title</translation>
    </message>
    <message>
        <source>Jednostka poziomu</source>
        <translation>Level unit</translation>
    </message>
    <message>
        <source>  Tytuł</source>
        <translation>  Title</translation>
    </message>
    <message>
        <source>Osie</source>
        <translation>Axes</translation>
    </message>
    <message>
        <source>Legenda</source>
        <translation>Legend</translation>
    </message>
    <message>
        <source>  Seria 1 - 500 Hz</source>
        <translation>  Series 1 - 500 Hz</translation>
    </message>
    <message>
        <source>Zmień</source>
        <translation>Change</translation>
    </message>
</context>
<context>
    <name>TFrmKalibracja</name>
    <message>
        <source>Kalibracja czułości</source>
        <translation>Sensitivity calibration</translation>
    </message>
    <message>
        <source>Nałóż kalibrator akustyczny (1 kHz) na mikrofon, włącz go i naciśnij „Pomiar”. Nagranie trwa %1 s.</source>
        <translation>Fit the sound calibrator (1 kHz) onto the microphone, switch it on and press “Measure”. The recording takes %1 s.</translation>
    </message>
    <message>
        <source>Poziom kalibratora</source>
        <translation>Calibrator level</translation>
    </message>
    <message>
        <source>94 dB SPL</source>
        <translation>94 dB SPL</translation>
    </message>
    <message>
        <source>114 dB SPL</source>
        <translation>114 dB SPL</translation>
    </message>
    <message>
        <source>&amp;Pomiar</source>
        <translation>&amp;Measure</translation>
    </message>
    <message>
        <source>%v ms</source>
        <translation>%v ms</translation>
    </message>
    <message>
        <source>&amp;Anuluj</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Poziom: %1 dBFS</source>
        <translation>Level: %1 dBFS</translation>
    </message>
    <message>
        <source>Rozrzut: %1 dB</source>
        <translation>Spread: %1 dB</translation>
    </message>
    <message>
        <source>Czułość: %1 dBFS przy 94 dB SPL</source>
        <translation>Sensitivity: %1 dBFS at 94 dB SPL</translation>
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
    <message>
        <source>Przed zakończeniem pracy należy wyłączyć stolik,<byte value="xd"/>
aby przywrócić poprzedni stan portu LPT.<byte value="xd"/>
<byte value="xd"/>
Gdy będziesz gotowy wciśnij OK.  </source>
        <translation>Switch the turntable off before quitting,<byte value="xd"/>
so that the LPT port returns to its previous state.<byte value="xd"/>
<byte value="xd"/>
Press OK when you are ready.  </translation>
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
    <name>TFrmMeter</name>
    <message>
        <source>Wskaźnik wysterowania</source>
        <translation>Level meter</translation>
    </message>
    <message>
        <source>dB</source>
        <translation>dB</translation>
    </message>
    <message>
        <source>clip</source>
        <translation>clip</translation>
    </message>
    <message>
        <source>Włącz</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Mikser</source>
        <translation>Mixer</translation>
    </message>
    <message>
        <source>Rec</source>
        <translation>Rec</translation>
    </message>
    <message>
        <source>decay</source>
        <translation>decay</translation>
    </message>
    <message>
        <source>Nie znaleziono miksera głośności (program pavucontrol). Zainstaluj go albo ustaw poziomy nagrywania innym mikserem.</source>
        <translation>No volume mixer found (the pavucontrol program). Install it or set the recording levels with another mixer.</translation>
    </message>
    <message>
        <source>Nie można uruchomić miksera głośności %1.</source>
        <translation>Cannot start the volume mixer %1.</translation>
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
    <name>TFrmParametry</name>
    <message>
        <source>Nowy pomiar</source>
        <translation>New measurement</translation>
    </message>
    <message>
        <source> Sygnał </source>
        <translation> Signal </translation>
    </message>
    <message>
        <source>Generator &amp;zewnętrzny</source>
        <translation>E&amp;xternal generator</translation>
    </message>
    <message>
        <source>Generator &amp;wewenętrzny</source>
        <translation>&amp;Internal generator</translation>
    </message>
    <message>
        <source>&amp;Rodzaj sygnału</source>
        <translation>Si&amp;gnal type</translation>
    </message>
    <message>
        <source>&amp;Częstotliwość</source>
        <translation>&amp;Frequency</translation>
    </message>
    <message>
        <source>&amp;Amplituda</source>
        <translation>&amp;Amplitude</translation>
    </message>
    <message>
        <source> Zakres pomiaru </source>
        <translation> Measurement range </translation>
    </message>
    <message>
        <source>&amp;Pełny obrót</source>
        <translation>F&amp;ull turn</translation>
    </message>
    <message>
        <source>Prz&amp;edział</source>
        <translation>&amp;Range</translation>
    </message>
    <message>
        <source>&amp;Od</source>
        <translation>Fro&amp;m</translation>
    </message>
    <message>
        <source>&amp;Do</source>
        <translation>&amp;To</translation>
    </message>
    <message>
        <source>Analiza szerokopasmowa wymaga generatora wewnętrznego.</source>
        <translation>Broadband analysis needs the internal generator.</translation>
    </message>
</context>
<context>
    <name>TFrmPodglad</name>
    <message>
        <source>Podgląd wydruku</source>
        <translation>Print preview</translation>
    </message>
    <message>
        <source>&amp;Zamknij</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Nie można narysować podglądu wydruku: %1</source>
        <translation>Cannot draw the print preview: %1</translation>
    </message>
</context>
<context>
    <name>TFrmPomiar</name>
    <message>
        <source>Pomiar</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Zamknij</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TFrmPrint</name>
    <message>
        <source>Drukuj</source>
        <translation>Print</translation>
    </message>
    <message>
        <source> Wybór wykresów </source>
        <translation> Chart selection </translation>
    </message>
    <message>
        <source>Dostępne wykresy</source>
        <translation>Available charts</translation>
    </message>
    <message>
        <source>Wykresy do druku</source>
        <translation>Charts to print</translation>
    </message>
    <message>
        <source>Przykład</source>
        <translation>Example</translation>
    </message>
    <message>
        <source> Marginesy </source>
        <translation> Margins </translation>
    </message>
    <message>
        <source>&amp;Lewy</source>
        <translation>&amp;Left</translation>
    </message>
    <message>
        <source>&amp;Górny</source>
        <translation>&amp;Top</translation>
    </message>
    <message>
        <source>&amp;Prawy</source>
        <translation>&amp;Right</translation>
    </message>
    <message>
        <source>&amp;Dolny</source>
        <translation>&amp;Bottom</translation>
    </message>
    <message>
        <source> Orientacja </source>
        <translation> Orientation </translation>
    </message>
    <message>
        <source>Pio&amp;nowa</source>
        <translation>P&amp;ortrait</translation>
    </message>
    <message>
        <source>Po&amp;zioma</source>
        <translation>L&amp;andscape</translation>
    </message>
    <message>
        <source>Podgląd wydruku</source>
        <translation>Print preview</translation>
    </message>
    <message>
        <source>&amp;Ustawienia wydruku</source>
        <translation>Print &amp;setup</translation>
    </message>
    <message>
        <source>&amp;Drukuj</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>&amp;Anuluj</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Drukowanie na %1</source>
        <translation>Printing to %1</translation>
    </message>
    <message>
        <source>Drukowanie nie powiodło się: %1</source>
        <translation>Printing failed: %1</translation>
    </message>
</context>
<context>
    <name>TFrmSerie</name>
    <message>
        <source>Edytor serii</source>
        <translation>Series editor</translation>
    </message>
    <message>
        <source>Nazwa</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Kolor</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>Ustaw</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>gain</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>Usuń</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Wyczyść</source>
        <translation>Clear</translation>
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
    <name>TFrmStolikKontrol</name>
    <message>
        <source>Kontroler stolika</source>
        <translation>Turntable control</translation>
    </message>
    <message>
        <source>Zakres pomiaru:</source>
        <translation>Measurement range:</translation>
    </message>
    <message>
        <source>&amp;Pełny obrót</source>
        <translation>&amp;Full turn</translation>
    </message>
    <message>
        <source>Prz&amp;edział</source>
        <translation>&amp;Range</translation>
    </message>
    <message>
        <source>K&amp;rok</source>
        <translation>Ste&amp;p</translation>
    </message>
    <message>
        <source>&amp;Od</source>
        <translation>Fro&amp;m</translation>
    </message>
    <message>
        <source>&amp;Do</source>
        <translation>T&amp;o</translation>
    </message>
    <message>
        <source>O &amp;kąt</source>
        <translation>By &amp;angle</translation>
    </message>
    <message>
        <source>Marker</source>
        <translation>Marker</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>S&amp;top</translation>
    </message>
    <message>
        <source>&amp;Wstecz</source>
        <translation>&amp;Back</translation>
    </message>
    <message>
        <source>R&amp;eset</source>
        <translation>R&amp;eset</translation>
    </message>
    <message>
        <source>Ustaw &amp;0°</source>
        <translation>Set &amp;0°</translation>
    </message>
</context>
<context>
    <name>TGenerator</name>
    <message>
        <source>No co ty, chcesz to usłyczeć ???</source>
        <translation>Come on, you want to hear that ???</translation>
    </message>
    <message>
        <source>Brakuje pamięci do zaalokowania teblicy !</source>
        <translation>Not enough memory to allocate the table !</translation>
    </message>
</context>
<context>
    <name>TGraphSettingsFields</name>
    <message>
        <source>, pogrubiony</source>
        <translation>, bold</translation>
    </message>
    <message>
        <source>, kursywa</source>
        <translation>, italic</translation>
    </message>
</context>
<context>
    <name>TGrblLink</name>
    <message>
        <source>Brak dostępu do portu %1: należy on do grupy „%2”. Dodaj swoje konto do tej grupy (sudo usermod -aG %2 $USER), wyloguj się i zaloguj ponownie.</source>
        <translation>No access to the port %1: it belongs to the group “%2”. Add your account to that group (sudo usermod -aG %2 $USER), then log out and log in again.</translation>
    </message>
    <message>
        <source>Nie ma portu %1.</source>
        <translation>There is no port %1.</translation>
    </message>
    <message>
        <source>Port %1 jest zajęty przez inny program.</source>
        <translation>The port %1 is in use by another program.</translation>
    </message>
    <message>
        <source>Nie można otworzyć portu %1: %2.</source>
        <translation>Cannot open the port %1: %2.</translation>
    </message>
    <message>
        <source>Stolik na porcie %1 przestał odpowiadać (%2).</source>
        <translation>The turntable on port %1 stopped responding (%2).</translation>
    </message>
    <message>
        <source>Stolik na porcie %1 nie odpowiada: nie przysłał powitania Grbl ani po otwarciu portu, ani po resecie.</source>
        <translation>The turntable on port %1 is not responding: it sent no Grbl greeting, neither after the port was opened nor after a reset.</translation>
    </message>
    <message>
        <source>Sterownik na porcie %1 nie podał ustawienia $%2 (prędkość $110, przyspieszenie $120 osi X).</source>
        <translation>The controller on port %1 did not report the setting $%2 (X axis speed $110, acceleration $120).</translation>
    </message>
    <message>
        <source>Sterownik stolika na porcie %1 jest w stanie alarmu: odblokuj go poleceniem $X albo wykonaj bazowanie ($H), np. w programie do obsługi Grbl, i połącz się ponownie.</source>
        <translation>The turntable controller on port %1 is in alarm state: unlock it with the $X command or run homing ($H), e.g. in a Grbl control program, and connect again.</translation>
    </message>
    <message>
        <source>Stolik nie jest połączony.</source>
        <translation>The turntable is not connected.</translation>
    </message>
    <message>
        <source>Polecenie dla stolika jest dłuższe niż %1 znaków: „%2”.</source>
        <translation>The turntable command is longer than %1 characters: “%2”.</translation>
    </message>
    <message>
        <source>Poprzednie polecenie dla stolika czeka jeszcze na odpowiedź.</source>
        <translation>The previous turntable command is still waiting for an answer.</translation>
    </message>
    <message>
        <source>Stolik na porcie %1 przestał odpowiadać: brak odpowiedzi na „%2” w ciągu %3 s.</source>
        <translation>The turntable on port %1 stopped responding: no answer to “%2” within %3 s.</translation>
    </message>
    <message>
        <source>Sterownik stolika odrzucił polecenie „%1”: error:%2 (%3).</source>
        <translation>The turntable controller rejected the command “%1”: error:%2 (%3).</translation>
    </message>
    <message>
        <source>Stolik na porcie %1 przestał odpowiadać: brak raportu stanu w ciągu %2 s.</source>
        <translation>The turntable on port %1 stopped responding: no status report within %2 s.</translation>
    </message>
</context>
<context>
    <name>TGrblProtocol</name>
    <message>
        <source>sterownik nie zrozumiał polecenia</source>
        <translation>the controller did not understand the command</translation>
    </message>
    <message>
        <source>nieznane polecenie „$”</source>
        <translation>unknown “$” command</translation>
    </message>
    <message>
        <source>polecenie wymaga stanu spoczynku (Idle)</source>
        <translation>the command needs the idle state (Idle)</translation>
    </message>
    <message>
        <source>ruch zablokowany w stanie alarmu lub podczas ruchu ręcznego (odblokuj sterownik poleceniem $X lub wykonaj bazowanie)</source>
        <translation>motion locked in alarm state or during a jog (unlock the controller with $X or run homing)</translation>
    </message>
    <message>
        <source>za długa linia polecenia</source>
        <translation>command line too long</translation>
    </message>
    <message>
        <source>cel ruchu poza zakresem osi; obracająca się bez końca oś stolika wymaga wyłączenia limitów programowych ($20=0)</source>
        <translation>move target outside the axis range; an endlessly turning turntable axis needs soft limits switched off ($20=0)</translation>
    </message>
    <message>
        <source>nieprawidłowe polecenie ruchu ręcznego ($J=)</source>
        <translation>invalid jog command ($J=)</translation>
    </message>
    <message>
        <source>nie podano prędkości ruchu</source>
        <translation>no feed rate given</translation>
    </message>
    <message>
        <source>błąd sterownika Grbl</source>
        <translation>Grbl controller error</translation>
    </message>
    <message>
        <source>zadziałał wyłącznik krańcowy; pozycja stolika jest nieznana</source>
        <translation>a limit switch was triggered; the turntable position is unknown</translation>
    </message>
    <message>
        <source>cel ruchu poza zakresem osi (limity programowe; dla stolika ustaw $20=0)</source>
        <translation>move target outside the axis range (soft limits; for a turntable set $20=0)</translation>
    </message>
    <message>
        <source>reset podczas ruchu; pozycja stolika jest nieznana</source>
        <translation>reset during motion; the turntable position is unknown</translation>
    </message>
    <message>
        <source>bazowanie nie powiodło się</source>
        <translation>homing failed</translation>
    </message>
    <message>
        <source>alarm sterownika Grbl</source>
        <translation>Grbl controller alarm</translation>
    </message>
</context>
<context>
    <name>TGrblTable</name>
    <message>
        <source>Sterownik stolika zgłosił alarm ALARM:%1 (%2). Pomiar został przerwany; odblokuj sterownik ($X) i połącz się ponownie.</source>
        <translation>The turntable controller raised the alarm ALARM:%1 (%2). The measurement was stopped; unlock the controller ($X) and connect again.</translation>
    </message>
    <message>
        <source>Sterownik stolika na porcie %1 uruchomił się ponownie; pozycja stolika jest nieznana.</source>
        <translation>The turntable controller on port %1 restarted; the turntable position is unknown.</translation>
    </message>
    <message>
        <source>Nieprawidłowy przedział</source>
        <translation>Invalid range</translation>
    </message>
</context>
<context>
    <name>TKeptMeasurement</name>
    <message>
        <source>Nagranie &quot;%1&quot; ma częstotliwość próbkowania %2 Hz, a jego dziennik znaczników %3 Hz.</source>
        <translation>The recording &quot;%1&quot; has a sample rate of %2 Hz, but its marker log %3 Hz.</translation>
    </message>
    <message>
        <source>Nagrania &quot;%1&quot; nie da się przeanalizować: %2</source>
        <translation>The recording &quot;%1&quot; cannot be analysed: %2</translation>
    </message>
</context>
<context>
    <name>TLevelComputation</name>
    <message>
        <source>Nie można odczytać pliku &quot;%1&quot;: rozmiar bloku %2 B jest mniejszy niż jedna próbka (2 B).</source>
        <translation>Cannot read the file &quot;%1&quot;: the block size %2 B is smaller than one sample (2 B).</translation>
    </message>
    <message>
        <source>Nie można odczytać pliku &quot;%1&quot; (to nie jest zwykły plik).</source>
        <translation>Cannot read the file &quot;%1&quot; (it is not a regular file).</translation>
    </message>
    <message>
        <source>Nie można otworzyć pliku &quot;%1&quot; (%2).</source>
        <translation>Cannot open the file &quot;%1&quot; (%2).</translation>
    </message>
    <message>
        <source>Nie dodano charakterystyki: pełnych bloków w nagraniu jest %1, a potrzeba co najmniej dwóch (zmniejsz rozmiar bloku albo wydłuż nagranie).</source>
        <translation>No response added: the recording has %1 whole blocks, and at least two are needed (reduce the block size or record longer).</translation>
    </message>
    <message>
        <source>Nie dodano charakterystyki: brak sygnału w nagraniu (najgłośniejszy blok %1 dB FS, poniżej %2 dB FS).</source>
        <translation>No response added: no signal in the recording (loudest block %1 dB FS, below %2 dB FS).</translation>
    </message>
    <message>
        <source>Nagranie skończyło się wcześniej niż zakres: obejmuje kąty do %1° zamiast do %2°; charakterystykę poziomu rozłożono na kąty, które nagranie obejmuje.</source>
        <translation>The recording ended before the range did: it covers angles up to %1° instead of %2°; the level response was spread over the angles the recording covers.</translation>
    </message>
    <message>
        <source>Nie można odczytać pliku &quot;%1&quot; (%2).</source>
        <translation>Cannot read the file &quot;%1&quot; (%2).</translation>
    </message>
</context>
<context>
    <name>TLoopbackDevice</name>
    <message>
        <source>Symulator (pętla wewnętrzna)</source>
        <translation>Simulator (internal loopback)</translation>
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
    <name>TMarkerLog</name>
    <message>
        <source>Nieprawidłowa wartość &quot;%1&quot; w wierszu %2.</source>
        <translation>Invalid value &quot;%1&quot; in line %2.</translation>
    </message>
    <message>
        <source>Nieprawidłowy wiersz %1 dziennika znaczników.</source>
        <translation>Invalid line %1 of the marker log.</translation>
    </message>
    <message>
        <source>Powtórzony klucz &quot;%1&quot; w wierszu %2.</source>
        <translation>Repeated key &quot;%1&quot; in line %2.</translation>
    </message>
    <message>
        <source>Nieznany sygnał &quot;%1&quot; w wierszu %2.</source>
        <translation>Unknown signal &quot;%1&quot; in line %2.</translation>
    </message>
    <message>
        <source>Nieprawidłowy znacznik w wierszu %1.</source>
        <translation>Invalid marker in line %1.</translation>
    </message>
    <message>
        <source>Zbyt wiele znaczników (więcej niż %1).</source>
        <translation>Too many markers (more than %1).</translation>
    </message>
    <message>
        <source>Znacznik w wierszu %1 ma numer %2 zamiast %3.</source>
        <translation>The marker in line %1 has number %2 instead of %3.</translation>
    </message>
    <message>
        <source>Znacznik %1 (wiersz %2) leży w nagraniu przed poprzednim.</source>
        <translation>Marker %1 (line %2) lies before the previous one in the recording.</translation>
    </message>
    <message>
        <source>Znacznik %1 (wiersz %2) leży w nagraniu w tym samym miejscu co poprzedni.</source>
        <translation>Marker %1 (line %2) lies at the same place in the recording as the previous one.</translation>
    </message>
    <message>
        <source>Nieprawidłowa pozycja stolika w wierszu %1.</source>
        <translation>Invalid turntable position in line %1.</translation>
    </message>
    <message>
        <source>Zbyt wiele pozycji stolika (więcej niż %1).</source>
        <translation>Too many turntable positions (more than %1).</translation>
    </message>
    <message>
        <source>Pozycja stolika w wierszu %1 nie leży w nagraniu za poprzednią.</source>
        <translation>The turntable position in line %1 does not lie after the previous one in the recording.</translation>
    </message>
    <message>
        <source>Pozycja stolika w wierszu %1 cofa się względem poprzedniej.</source>
        <translation>The turntable position in line %1 goes back from the previous one.</translation>
    </message>
    <message>
        <source>Brak klucza &quot;%1&quot; w dzienniku znaczników.</source>
        <translation>The key &quot;%1&quot; is missing from the marker log.</translation>
    </message>
    <message>
        <source>Kąt początkowy %1° nie jest mniejszy od końcowego %2°.</source>
        <translation>The start angle %1° is not less than the stop angle %2°.</translation>
    </message>
    <message>
        <source> (wiersz %1)</source>
        <translation> (line %1)</translation>
    </message>
    <message>
        <source>Pozycja stolika%1 leży poza nagraniem: próbka %2, a nagranie ma %3 próbek.</source>
        <translation>The turntable position%1 lies outside the recording: sample %2, but the recording has %3 samples.</translation>
    </message>
    <message>
        <source>Znacznik %1%2 leży poza nagraniem: próbka %3, a nagranie ma %4 próbek.</source>
        <translation>Marker %1%2 lies outside the recording: sample %3, but the recording has %4 samples.</translation>
    </message>
    <message>
        <source>Nieobsługiwana wersja dziennika znaczników: &quot;%1&quot;.</source>
        <translation>Unsupported marker log version: &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>To nie jest dziennik znaczników Orvi (brak wiersza &quot;%1&quot;).</source>
        <translation>This is not an Orvi marker log (the line &quot;%1&quot; is missing).</translation>
    </message>
</context>
<context>
    <name>TMeasurementFolder</name>
    <message>
        <source>Nie można odczytać nagrania &quot;%1&quot; (%2).</source>
        <translation>Cannot read the recording &quot;%1&quot; (%2).</translation>
    </message>
    <message>
        <source>nieprawidłowy wpis</source>
        <translation>invalid entry</translation>
    </message>
    <message>
        <source>Nie znaleziono dziennika znaczników &quot;%1&quot;.</source>
        <translation>The marker log &quot;%1&quot; was not found.</translation>
    </message>
    <message>
        <source>Nie można utworzyć folderu &quot;%1&quot;.</source>
        <translation>Cannot create the folder &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>W folderze &quot;%1&quot; nie ma wolnej nazwy dla nagrania &quot;%2&quot;.</source>
        <translation>The folder &quot;%1&quot; has no free name for the recording &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>W folderze &quot;%1&quot; nie ma wolnej nazwy dla dziennika znaczników nagrania &quot;%2&quot;.</source>
        <translation>The folder &quot;%1&quot; has no free name for the marker log of the recording &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Brak spisu pomiarów &quot;%1&quot;.</source>
        <translation>The measurement index &quot;%1&quot; is missing.</translation>
    </message>
    <message>
        <source>Nie można odczytać spisu pomiarów &quot;%1&quot; (%2).</source>
        <translation>Cannot read the measurement index &quot;%1&quot; (%2).</translation>
    </message>
    <message>
        <source>Spis pomiarów &quot;%1&quot; jest za duży.</source>
        <translation>The measurement index &quot;%1&quot; is too large.</translation>
    </message>
    <message>
        <source>Spis pomiarów &quot;%1&quot; jest uszkodzony.</source>
        <translation>The measurement index &quot;%1&quot; is damaged.</translation>
    </message>
    <message>
        <source>Spis pomiarów &quot;%1&quot; zapisała nowsza wersja programu.</source>
        <translation>The measurement index &quot;%1&quot; was written by a newer version of the program.</translation>
    </message>
    <message>
        <source>Spis pomiarów &quot;%1&quot;: %2 nr %3.</source>
        <translation>Measurement index &quot;%1&quot;: %2 no. %3.</translation>
    </message>
    <message>
        <source>Nie znaleziono nagrania &quot;%1&quot;.</source>
        <translation>The recording &quot;%1&quot; was not found.</translation>
    </message>
    <message>
        <source>Spis pomiarów &quot;%1&quot;: nieprawidłowy wpis nr %2.</source>
        <translation>Measurement index &quot;%1&quot;: invalid entry no. %2.</translation>
    </message>
</context>
<context>
    <name>TMeasurementRun</name>
    <message>
        <source>Ustawienia początkowe</source>
        <translation>Initial settings</translation>
    </message>
    <message>
        <source>Pomiar</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <source>Powrót stolika do pozycji 0° ...</source>
        <translation>Returning the turntable to 0° ...</translation>
    </message>
    <message>
        <source>Przygotowanie do pomiaru...</source>
        <translation>Preparing the measurement...</translation>
    </message>
    <message>
        <source>Wyznaczenie charakterystyki...</source>
        <translation>Computing the response...</translation>
    </message>
    <message>
        <source>Nagrywanie do pliku: </source>
        <translation>Recording to file: </translation>
    </message>
    <message>
        <source>Gotowe...</source>
        <translation>Done...</translation>
    </message>
    <message>
        <source>Pomiar przerwany...</source>
        <translation>Measurement interrupted...</translation>
    </message>
    <message>
        <source>

Pomiar został przerwany.</source>
        <translation>

The measurement was interrupted.</translation>
    </message>
    <message>
        <source>Błąd zapisu do pliku %1.

Pomiar został przerwany.</source>
        <translation>Error writing to the file %1.

The measurement was interrupted.</translation>
    </message>
    <message>
        <source>Analiza szerokopasmowa wymaga nagrania z dziennikiem znaczników i sygnałem generatora wewnętrznego o tej samej częstotliwości próbkowania co wejście; dodano tylko charakterystykę poziomu.</source>
        <translation>Broadband analysis needs a recording with a marker log and an internal generator signal at the same sample rate as the input; only the level response was added.</translation>
    </message>
    <message>
        <source>Analiza szerokopasmowa nie powiodła się: %1</source>
        <translation>Broadband analysis failed: %1</translation>
    </message>
    <message>
        <source>Nagranie pomiaru nie zostało zachowane: %1</source>
        <translation>The measurement recording was not kept: %1</translation>
    </message>
</context>
<context>
    <name>TMicCalibration</name>
    <message>
        <source>Plik kalibracji „%1”</source>
        <translation>The calibration file “%1”</translation>
    </message>
    <message>
        <source>%1, wiersz %2</source>
        <translation>%1, line %2</translation>
    </message>
    <message>
        <source>%1 jest za duży (%2 B); może mieć najwyżej %3 B.</source>
        <translation>%1 is too large (%2 B); it may have at most %3 B.</translation>
    </message>
    <message>
        <source>Nie można otworzyć pliku kalibracji „%1”: %2.</source>
        <translation>Cannot open the calibration file “%1”: %2.</translation>
    </message>
    <message>
        <source>Nie można odczytać pliku kalibracji „%1”: %2.</source>
        <translation>Cannot read the calibration file “%1”: %2.</translation>
    </message>
    <message>
        <source>ponad %1</source>
        <translation>over %1</translation>
    </message>
    <message>
        <source>%1 nie jest plikiem tekstowym (zawiera bajty zerowe).</source>
        <translation>%1 is not a text file (it contains zero bytes).</translation>
    </message>
    <message>
        <source>%1: tekst nie jest zapisany w UTF-8; to nie jest plik tekstowy kalibracji.</source>
        <translation>%1: the text is not in UTF-8; this is not a calibration text file.</translation>
    </message>
    <message>
        <source>%1: „%2” zapisano z przecinkiem dziesiętnym, którego program nie obsługuje; liczby muszą mieć kropkę dziesiętną (np. 1000 0.5).</source>
        <translation>%1: “%2” is written with a decimal comma, which the program does not support; numbers must use a decimal point (e.g. 1000 0.5).</translation>
    </message>
    <message>
        <source>%1: „%2” nie jest parą liczb (częstotliwość, dB).</source>
        <translation>%1: “%2” is not a pair of numbers (frequency, dB).</translation>
    </message>
    <message>
        <source>%1: „%2” zawiera wartość, która nie jest skończoną liczbą.</source>
        <translation>%1: “%2” contains a value that is not a finite number.</translation>
    </message>
    <message>
        <source>%1: częstotliwość %2 Hz nie jest większa od zera.</source>
        <translation>%1: the frequency %2 Hz is not greater than zero.</translation>
    </message>
    <message>
        <source>%1: częstotliwość %2 Hz nie jest większa od poprzedniej (%3 Hz); częstotliwości muszą rosnąć.</source>
        <translation>%1: the frequency %2 Hz is not greater than the previous one (%3 Hz); frequencies must rise.</translation>
    </message>
    <message>
        <source>%1 zawiera mniej niż dwa punkty (częstotliwość, dB).</source>
        <translation>%1 contains fewer than two points (frequency, dB).</translation>
    </message>
</context>
<context>
    <name>TMicCalibrationGroup</name>
    <message>
        <source>Kalibracja mikrofonu</source>
        <translation>Microphone calibration</translation>
    </message>
    <message>
        <source>Plik:</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>brak</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Wybierz plik kalibracji mikrofonu</source>
        <translation>Choose the microphone calibration file</translation>
    </message>
    <message>
        <source>Usuń</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Czułość:</source>
        <translation>Sensitivity:</translation>
    </message>
    <message>
        <source> dBFS przy 94 dB SPL</source>
        <translation> dBFS at 94 dB SPL</translation>
    </message>
    <message>
        <source>&amp;Kalibruj…</source>
        <translation>Calibrat&amp;e…</translation>
    </message>
    <message>
        <source>Pliki kalibracji (*.txt *.cal *.frd)</source>
        <translation>Calibration files (*.txt *.cal *.frd)</translation>
    </message>
    <message>
        <source>Wszystkie pliki (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>Sens Factor: %1 dB (informacyjnie)</source>
        <translation>Sens Factor: %1 dB (for information)</translation>
    </message>
</context>
<context>
    <name>TOptionsFields</name>
    <message>
        <source>Pliki w folderze tymczasowym systemu nie przetrwają ponownego uruchomienia komputera.</source>
        <translation>Files in the system&apos;s temporary folder do not survive a restart of the computer.</translation>
    </message>
    <message>
        <source>Folder roboczy &quot;%1&quot; nie istnieje. Pomiar i wskaźnik wysterowania nie zapiszą w nim nagrania, dopóki nie zostanie utworzony.</source>
        <translation>The working folder &quot;%1&quot; does not exist. The measurement and the level meter will not save recordings in it until it is created.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; nie jest folderem. Pomiar i wskaźnik wysterowania nie zapiszą tam nagrania.</source>
        <translation>&quot;%1&quot; is not a folder. The measurement and the level meter will not save recordings there.</translation>
    </message>
    <message>
        <source>Do folderu roboczego &quot;%1&quot; nie można zapisywać. Pomiar i wskaźnik wysterowania nie zapiszą w nim nagrania.</source>
        <translation>The working folder &quot;%1&quot; cannot be written to. The measurement and the level meter will not save recordings in it.</translation>
    </message>
</context>
<context>
    <name>TOvkFile</name>
    <message>
        <source>Plik &quot;%1&quot; jest uszkodzony: %2.</source>
        <translation>The file &quot;%1&quot; is damaged: %2.</translation>
    </message>
    <message>
        <source>Błąd odczytu pliku &quot;%1&quot; (%2).</source>
        <translation>Error reading the file &quot;%1&quot; (%2).</translation>
    </message>
    <message>
        <source>Za mało pamięci, by wczytać plik &quot;%1&quot;.</source>
        <translation>Not enough memory to load the file &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>plik kończy się przed końcem %1</source>
        <translation>the file ends before the end of %1</translation>
    </message>
    <message>
        <source>Plik &quot;%1&quot; nie istnieje.</source>
        <translation>The file &quot;%1&quot; does not exist.</translation>
    </message>
    <message>
        <source>Nie można otworzyć pliku &quot;%1&quot; (%2).</source>
        <translation>Cannot open the file &quot;%1&quot; (%2).</translation>
    </message>
    <message>
        <source>nagłówka</source>
        <translation>the header</translation>
    </message>
    <message>
        <source>serii %1 z %2</source>
        <translation>series %1 of %2</translation>
    </message>
    <message>
        <source>seria %1 ma ujemną liczbę punktów (%2)</source>
        <translation>series %1 has a negative number of points (%2)</translation>
    </message>
    <message>
        <source>seria %1 zapowiada %2 punktów, a plik kończy się wcześniej</source>
        <translation>series %1 declares %2 points, but the file ends sooner</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku &quot;%1&quot;: dokument ma %2 serii, a plik mieści najwyżej %3.</source>
        <translation>Cannot save the file &quot;%1&quot;: the document has %2 series and the file holds at most %3.</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku &quot;%1&quot;: plik jest tylko do odczytu.</source>
        <translation>Cannot save the file &quot;%1&quot;: the file is read-only.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; nie jest prawidłowym plikiem programu Orvi.</source>
        <translation>&quot;%1&quot; is not a valid Orvi file.</translation>
    </message>
    <message>
        <source>plik nie istnieje.</source>
        <translation>the file does not exist.</translation>
    </message>
    <message>
        <source>to jest folder.</source>
        <translation>it is a folder.</translation>
    </message>
    <message>
        <source>plik jest za krótki jak na plik charakterystyki.</source>
        <translation>the file is too short to be a characteristic file.</translation>
    </message>
    <message>
        <source>nie da się odczytać pliku.</source>
        <translation>the file cannot be read.</translation>
    </message>
    <message>
        <source>Nie można otworzyć pliku „%1”: %2</source>
        <translation>Cannot open the file “%1”: %2</translation>
    </message>
</context>
<context>
    <name>TPictureWriter</name>
    <message>
        <source>obraz zbyt duży</source>
        <translation>picture too large</translation>
    </message>
    <message>
        <source>błąd kodowania PNG</source>
        <translation>PNG encoding error</translation>
    </message>
    <message>
        <source>błąd SVG</source>
        <translation>SVG error</translation>
    </message>
    <message>
        <source>błąd PDF</source>
        <translation>PDF error</translation>
    </message>
    <message>
        <source>Nieznany format pliku &quot;%1&quot;. %2 można zapisać jako PNG, SVG lub PDF.</source>
        <translation>Unknown file format &quot;%1&quot;. %2 can be saved as PNG, SVG or PDF.</translation>
    </message>
    <message>
        <source>Nieprawidłowy rozmiar obrazu: %1 × %2</source>
        <translation>Invalid picture size: %1 × %2</translation>
    </message>
</context>
<context>
    <name>TPolarGraph</name>
    <message>
        <source>Nieznany format pliku: %1</source>
        <translation>Unknown file format: %1</translation>
    </message>
</context>
<context>
    <name>TPortAudioDevice</name>
    <message>
        <source>Urządzenia dźwiękowe nie zgłosiły się w ciągu %1 s: serwer dźwięku nie odpowiada.</source>
        <translation>The sound devices did not report within %1 s: the sound server is not responding.</translation>
    </message>
    <message>
        <source>Urządzenie dźwiękowe nie odpowiedziało w ciągu %1 s: serwer dźwięku nie odpowiada.</source>
        <translation>The sound device did not answer within %1 s: the sound server is not responding.</translation>
    </message>
</context>
<context>
    <name>TPortBackends</name>
    <message>
        <source>Nie można otworzyć portu LPT%1<byte value="xd"/>
Funkcje pomiarowe nie będą dostępne</source>
        <translation>Cannot open the port LPT%1<byte value="xd"/>
Measurement functions will not be available</translation>
    </message>
</context>
<context>
    <name>TPpdevPort</name>
    <message>
        <source>Adres 0x%1 nie należy do portu %2</source>
        <translation>Address 0x%1 does not belong to the port %2</translation>
    </message>
    <message>
        <source>Rejestr stanu portu %1 jest tylko do odczytu</source>
        <translation>The status register of the port %1 is read-only</translation>
    </message>
    <message>
        <source>Nie ma urządzenia %1: moduł jądra ppdev nie jest załadowany (sudo modprobe ppdev) albo komputer nie ma tego portu</source>
        <translation>There is no device %1: the ppdev kernel module is not loaded (sudo modprobe ppdev) or the computer has no such port</translation>
    </message>
    <message>
        <source>Brak uprawnień do %1: użytkownik musi należeć do grupy &quot;%2&quot; (sudo usermod -aG %2 $USER, potem ponowne zalogowanie)</source>
        <translation>No permission for %1: the user must belong to the group &quot;%2&quot; (sudo usermod -aG %2 $USER, then log in again)</translation>
    </message>
    <message>
        <source>Port %1 jest zajęty przez inny sterownik (na przykład lp: sudo rmmod lp)</source>
        <translation>The port %1 is held by another driver (for example lp: sudo rmmod lp)</translation>
    </message>
    <message>
        <source>Nie można otworzyć portu %1<byte value="xd"/>
</source>
        <translation>Cannot open the port %1<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Funkcje pomiarowe nie będą dostępne</source>
        <translation>Measurement functions will not be available</translation>
    </message>
</context>
<context>
    <name>TPrintJob</name>
    <message>
        <source>Nie wybrano drukarki ani pliku wydruku. Wybierz je w oknie &quot;Ustawienia wydruku&quot;.</source>
        <translation>No printer or output file is chosen. Choose one in the &quot;Print setup&quot; window.</translation>
    </message>
    <message>
        <source>Drukowanie na drukarce &quot;%1&quot; nie powiodło się.</source>
        <translation>Printing on the printer &quot;%1&quot; failed.</translation>
    </message>
    <message>
        <source>Nie wybrano drukarki. Wybierz ją w oknie &quot;Ustawienia wydruku&quot;.</source>
        <translation>No printer is chosen. Choose one in the &quot;Print setup&quot; window.</translation>
    </message>
</context>
<context>
    <name>TPrintPage</name>
    <message>
        <source>Nieprawidłowy rozmiar papieru.</source>
        <translation>Invalid paper size.</translation>
    </message>
    <message>
        <source>Nie można utworzyć dokumentu PDF.</source>
        <translation>Cannot create the PDF document.</translation>
    </message>
</context>
<context>
    <name>TProgramPicture</name>
    <message>
        <source>charakterystyki kierunkowości głośników</source>
        <translation>loudspeaker directivity characteristics</translation>
    </message>
</context>
<context>
    <name>TRecordFile</name>
    <message>
        <source>Nie można utworzyć pliku %1:
%2</source>
        <translation>Cannot create the file %1:
%2</translation>
    </message>
    <message>
        <source>plik nie jest otwarty</source>
        <translation>the file is not open</translation>
    </message>
    <message>
        <source>Błąd zapisu do pliku %1:
%2

Zapis został przerwany; plik nie został zmieniony.</source>
        <translation>Error writing to the file %1:
%2

Recording was stopped; the file was not changed.</translation>
    </message>
    <message>
        <source>Błąd zapisu do pliku %1:
%2</source>
        <translation>Error writing to the file %1:
%2</translation>
    </message>
</context>
<context>
    <name>TRecordingAnalysisAction</name>
    <message>
        <source>Nagrania pomiarów (*.wav)</source>
        <translation>Measurement recordings (*.wav)</translation>
    </message>
    <message>
        <source>Analizuj &amp;nagranie…</source>
        <translation>Analyse &amp;recording…</translation>
    </message>
    <message>
        <source>|Analizuje zachowane nagranie pomiaru i dodaje jego charakterystyki do aktywnego dokumentu</source>
        <translation>|Analyses a kept measurement recording and adds its characteristics to the active document</translation>
    </message>
</context>
<context>
    <name>TRecordingArchive</name>
    <message>
        <source>W folderze &quot;%1&quot; nie ma wolnej nazwy dla nagrania &quot;%2&quot;.</source>
        <translation>The folder &quot;%1&quot; has no free name for the recording &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Nie można utworzyć folderu &quot;%1&quot;.</source>
        <translation>Cannot create the folder &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>%1 Bez dziennika znaczników nagrania nie da się ponownie przeanalizować, więc go nie zachowano.</source>
        <translation>%1 Without its marker log the recording cannot be analysed again, so it was not kept.</translation>
    </message>
    <message>
        <source>Brak dziennika znaczników &quot;%1&quot; nagrania &quot;%2&quot;.</source>
        <translation>The marker log &quot;%1&quot; of the recording &quot;%2&quot; is missing.</translation>
    </message>
    <message>
        <source>Nie można odczytać dziennika znaczników &quot;%1&quot; (%2).</source>
        <translation>Cannot read the marker log &quot;%1&quot; (%2).</translation>
    </message>
    <message>
        <source>Dziennik znaczników &quot;%1&quot; jest za duży (ponad %2 B).</source>
        <translation>The marker log &quot;%1&quot; is too large (over %2 B).</translation>
    </message>
    <message>
        <source>Nieprawidłowy dziennik znaczników &quot;%1&quot;: %2</source>
        <translation>Invalid marker log &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Nie można odczytać nagrania &quot;%1&quot; (%2).</source>
        <translation>Cannot read the recording &quot;%1&quot; (%2).</translation>
    </message>
    <message>
        <source>nagranie jest dłuższe niż %1 min, a tyle nie trwa żaden obrót stolika</source>
        <translation>the recording is longer than %1 min, and no turntable turn lasts that long</translation>
    </message>
    <message>
        <source>plik się skrócił</source>
        <translation>the file got shorter</translation>
    </message>
</context>
<context>
    <name>TSeriesGroup</name>
    <message>
        <source> Pomiar </source>
        <translation> Measurement </translation>
    </message>
    <message>
        <source>Nazwa</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Kolor</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Anuluj</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>TSeriesListDelegate</name>
    <message>
        <source>Nazwa</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Styl</source>
        <translation>Style</translation>
    </message>
</context>
<context>
    <name>TSettings</name>
    <message>
        <source>Ustawienia miały wartości, z którymi program nie może działać. Przywrócono wartości domyślne:
</source>
        <translation>The settings had values the program cannot work with. The defaults were restored:
</translation>
    </message>
</context>
<context>
    <name>TSimulatedPort</name>
    <message>
        <source>Adres 0x%1 leży poza portem symulatora</source>
        <translation>Address 0x%1 lies outside the simulator&apos;s port</translation>
    </message>
    <message>
        <source>Nie można uruchomić symulatora stolika<byte value="xd"/>
Funkcje pomiarowe nie będą dostępne</source>
        <translation>Cannot start the turntable simulator<byte value="xd"/>
Measurement functions will not be available</translation>
    </message>
</context>
<context>
    <name>TSizeBox</name>
    <message>
        <source>&amp;Rozmiar</source>
        <translation>&amp;Size</translation>
    </message>
    <message>
        <source>Rozmiar </source>
        <translation>Size </translation>
    </message>
    <message>
        <source> Ustala rozmiar dokumentu</source>
        <translation> Sets the document size</translation>
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
<context>
    <name>TSpinorama</name>
    <message>
        <source>pionowej</source>
        <translation>vertical</translation>
    </message>
    <message>
        <source>poziomej</source>
        <translation>horizontal</translation>
    </message>
    <message>
        <source>Pomiar w płaszczyźnie %1 nie ma ramek w pobliżu kąta %2°.</source>
        <translation>The measurement in the %1 plane has no frames near the angle %2°.</translation>
    </message>
    <message>
        <source>Pomiar w płaszczyźnie %1 nie ma częstotliwości próbkowania.</source>
        <translation>The measurement in the %1 plane has no sample rate.</translation>
    </message>
    <message>
        <source>Pomiary w płaszczyźnie poziomej i pionowej mają różne częstotliwości próbkowania (%1 Hz i %2 Hz).</source>
        <translation>The horizontal and vertical plane measurements have different sample rates (%1 Hz and %2 Hz).</translation>
    </message>
</context>
<context>
    <name>TSpinoramaChart</name>
    <message>
        <source>Częstotliwość [Hz]</source>
        <translation>Frequency [Hz]</translation>
    </message>
    <message>
        <source>Poziom [dB]</source>
        <translation>Level [dB]</translation>
    </message>
    <message>
        <source>Brak danych</source>
        <translation>No data</translation>
    </message>
    <message>
        <source>Spinoramę</source>
        <translation>The spinorama</translation>
    </message>
</context>
<context>
    <name>TSpinoramaFolder</name>
    <message>
        <source>Pomiar nie ma nazwy, a nazwy plików dla spinoramy zaczynają się od niej. Nadaj pomiarowi nazwę.</source>
        <translation>The measurement has no name, and the spinorama file names begin with it. Give the measurement a name.</translation>
    </message>
    <message>
        <source>Nazwa pomiaru &quot;%1&quot; zawiera &quot;_H&quot; lub &quot;_V&quot;, po których programy spinoramy rozpoznają płaszczyznę. Zmień nazwę pomiaru.</source>
        <translation>The measurement name &quot;%1&quot; contains &quot;_H&quot; or &quot;_V&quot;, by which spinorama programs recognise the plane. Rename the measurement.</translation>
    </message>
    <message>
        <source>Folder &quot;%1&quot; nie istnieje.</source>
        <translation>The folder &quot;%1&quot; does not exist.</translation>
    </message>
    <message>
        <source>Spinorama nie ma żadnej zmierzonej częstotliwości.</source>
        <translation>The spinorama has no measured frequency.</translation>
    </message>
    <message>
        <source>Pomiar w płaszczyźnie %1 nie ma ramek w pobliżu kąta %2°.</source>
        <translation>The measurement in the %1 plane has no frames near the angle %2°.</translation>
    </message>
    <message>
        <source>pionowej</source>
        <translation>vertical</translation>
    </message>
    <message>
        <source>poziomej</source>
        <translation>horizontal</translation>
    </message>
</context>
<context>
    <name>TToolWindows</name>
    <message>
        <source>Emulator stolika Grbl</source>
        <translation>Grbl turntable emulator</translation>
    </message>
    <message>
        <source>Symulator stolika</source>
        <translation>Turntable simulator</translation>
    </message>
</context>
<context>
    <name>TTurntableController</name>
    <message>
        <source>Nieprawidłowy przedział</source>
        <translation>Invalid range</translation>
    </message>
</context>
<context>
    <name>TTurntableDriverGroup</name>
    <message>
        <source>Sterownik stolika</source>
        <translation>Turntable driver</translation>
    </message>
    <message>
        <source>Port równoległy (LPT)</source>
        <translation>Parallel port (LPT)</translation>
    </message>
    <message>
        <source>Grbl (USB / port szeregowy)</source>
        <translation>Grbl (USB / serial port)</translation>
    </message>
    <message>
        <source>Port &amp;szeregowy</source>
        <translation>Serial &amp;port</translation>
    </message>
    <message>
        <source>Sp&amp;rawdź</source>
        <translation>Chec&amp;k</translation>
    </message>
    <message>
        <source>Czas pełnego &amp;obrotu [s]</source>
        <translation>Full &amp;turn time [s]</translation>
    </message>
    <message>
        <source>Łączenie z %1…</source>
        <translation>Connecting to %1…</translation>
    </message>
    <message>
        <source>%1
$110 = %2 °/min (największa prędkość), $120 = %3 °/s² (przyspieszenie)</source>
        <translation>%1
$110 = %2 °/min (maximum rate), $120 = %3 °/s² (acceleration)</translation>
    </message>
</context>
<context>
    <name>TWavFile</name>
    <message>
        <source>nieprawidłowy nagłówek</source>
        <translation>invalid header</translation>
    </message>
    <message>
        <source>nagranie jest dłuższe niż %1 min, a tyle nie trwa żaden obrót stolika</source>
        <translation>the recording is longer than %1 min, and no turntable turn lasts that long</translation>
    </message>
    <message>
        <source>nagłówek podaje %1 ramek</source>
        <translation>the header gives %1 frames</translation>
    </message>
    <message>
        <source>więcej niż %1 próbek</source>
        <translation>more than %1 samples</translation>
    </message>
    <message>
        <source>nagranie jest za długie na plik WAV</source>
        <translation>the recording is too long for a WAV file</translation>
    </message>
    <message>
        <source>nieprawidłowa częstotliwość próbkowania %1 Hz</source>
        <translation>invalid sample rate %1 Hz</translation>
    </message>
    <message>
        <source>to jest folder</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>to nie jest zwykły plik</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>Nie można odczytać nagrania &quot;%1&quot; (%2).</source>
        <translation>Cannot read the recording &quot;%1&quot; (%2).</translation>
    </message>
    <message>
        <source>Nie można odczytać nagrania (%1).</source>
        <translation>Cannot read the recording (%1).</translation>
    </message>
</context>
</TS>

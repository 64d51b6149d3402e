<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="hu">
<context>
    <name>CaptureCsv</name>
    <message>
        <source>a %1 kétszer szerepel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a %1 értéke hibás: „%2”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a %1 oszlopsor hiányzik</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>két szám kell vesszővel elválasztva (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>az idő nem lehet negatív</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>az idő nem csökkenhet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>az itt kezdődő felvételből hiányzik a lépés mérete (step_counts)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nem UTF-8 szöveg</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nincs benne felvétel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hibás a fájl %1. sora: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hibás a fájl: %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommissioningReport</name>
    <message>
        <source>Csúcshiba (impulzus)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Túllövés (%)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Csúcsidő (ms)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Felfutási idő (ms)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Beállási idő (ms)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maradó hiba (impulzus)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IAE (ms)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ITAE (ms²)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mintavétel (1/s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>változatlan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tárolva (W 0)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>csak próba (TESZT)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>csak próba (hangolás)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kiolvasva</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>idő a lépés kiadásától (ms)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pozíció hiba (impulzus)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nem készült lépésválasz.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Előtte: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Utána: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Üzembe helyezési jegyzőkönyv – %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Üzembe helyezési jegyzőkönyv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(név nélkül)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tengely</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dátum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Megjegyzés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paraméterek</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paraméter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Induláskor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Átadáskor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Állapot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>„tárolva (W 0)”: a vezérlő kikapcsolás után is ezt az értéket használja. „csak próba”: a vezérlő kikapcsolásig használja, tárolni Pn-MENT vagy Mind MENT gombbal lehet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lépésválasz előtte és utána</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jellemző</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Előtte</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Utána</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Felvétel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lengések</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>előtte: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>utána: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A hátrafelé tett lépés előjelét megfordítva mutatja.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ebben a munkamenetben nem készült lépésválasz ezen a tengelyen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automata hangolás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cél</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eredmény</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erősítések</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mozgások</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idő</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Írások a munkamenetben</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nem volt írás.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új érték</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mód</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Visszaolvasva</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mentés (W 0)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>próba (TESZT)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Az utolsó %1 írás a(z) %2 közül; mind az Előzmények ablakban.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Készítette: %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A fájl nem írható: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Segítség helye...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automata motor paraméter beállítás .</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kiválasztás esetén a scroll bar értéket azonnal mentés nélkül(teszt módban) elküldi a microcontrollerbe.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scroll bar értéke ebbe az érték boxba kerül (aktivált zöld box).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paraméter kiolvasás időzítő .</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt összes érték kiolvasása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aktuális velocity limit érték kiolvasása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aktuális velocity feedback érték kiolvasása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aktuális P gain érték kiolvasása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aktuális I gain érték kiolvasása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aktuális torque limit érték kiolvasása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aktuális EMS feedback érték kiolvasása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aktuális gear ratio érték kiolvasása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aktuális D gain érték kiolvasása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt velocity limit (sebesség határ) érték. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt velocity feedback (sebesség visszajelzés) érték</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt P gain (P tag) érték</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt I gain (I tag) érték</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt torque limit érték. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt EMF érték</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt gear ratio érték (áttétel : 256=1:4 , 1024=1:1). Áttétel : 1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt gear ratio érték (áttétel : 256=1:4 , 1024=1:1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt D gain (D tag) érték</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új velocity limit értéket itt adhatsz meg .  Scroll bar értéke ide kerül.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új velocity feedback értéket itt adhatsz meg .  Scroll bar értéke ide kerül.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új P gain értéket itt adhatsz meg . Scroll bar értéke ide kerül.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új I gain értéket itt adhatsz meg .  Scroll bar értéke ide kerül.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új torque limit érték. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új torque limit érték.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új EMS feedback értéket itt adhatsz meg . Scroll bar értéke ide kerül.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új beállított gear ratio érték (áttétel : 256=1:4 , 1024=1:1). Áttétel : 1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új beállított gear ratio érték (áttétel : 256=1:4 , 1024=1:1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új D gain értéket itt adhatsz meg .  Scroll bar értéke ide kerül.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új velocity limit értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új velocity feedback értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új P gain értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új I gain értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új torque limit értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új EMF feedback értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új gear ratio értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új D gain értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új velocity limit értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új velocity feedback értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új P gain értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új I gain értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új torque limit értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új EMF feedback értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új gear ratio értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új D gain értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minden új értéket elküldöd a microconrollerbe , új érték mentés nélkül.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minden új értéket elküldöd a microconrollerbe , új értékek mentéssel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motor futás feszültségvezérelt módban .</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motor futás PID szabályozott módban a fordulatszám scroll baron beállított sebességen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Léptető mód kiválasztása.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motor futás leállítása + RESET .</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ismétlődve lépteti a motort a kiválasztott irányba a megadott (NEM encoder impulzus)lépésjel számmal P0 sebességen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motor forgásirány léptető módban (+).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motor forgásirány léptető módban (-).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Léptetés P0 sebességen . 1 motor fordulat = encoder felbontása × 4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encoder felbontása . </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pozíció hiba mérés be-kikapcsolható . Nem minden KDX mikrokontroller programban elérhető funkció !</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pillanatnyi pozíció hiba grafikus megjelenítése.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pillanatnyi pozíció hiba . </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Legnagyobb pozíció hiba . </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Legnagyobb és pillanatnyi pozíció hiba érték nullázása .</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pozíció hiba érték nullázása . Csak a programban ! Microcontroller-ben nem. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monitorozás bezárása . KDXparam.txt file-ben tárolt paraméter listák megjelenítése .</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filében tárolt paraméterlista. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filében tárolt paraméterlista frissítése.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A filében tárolt paraméterlista betöltése , megnyitása.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KDXparam.txt filéből kiválasztott paramétersor törlése.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KDXparam.txt file bezárás , monitorozás megnyitása .</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help : Mozgasd az egér kurzort a gombok vagy érték mező fölé.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>History</name>
    <message>
        <source>Kiolvasás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Írás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hangolás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Felvétel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>indításkor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mind KIOLVAS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>késve megnyílt port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>újracsatlakozás után</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>portváltás után</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hangolás előtti pillanatkép</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>visszaírás után</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hangolva</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nem talált jobbat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>megszakítva</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a hangolás előtti értékek visszaírva</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a hangolás előtti értékeket nem sikerült visszaírni</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nincs túllendülés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kiegyensúlyozott</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gyors</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (név nélkül)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 – %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P0..P7 kiolvasva (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P%1 mentés (W 0): %2 → %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P%1 próba: %2 → %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (visszaolvasva: %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automata hangolás: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automata hangolás: %1 – %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lépésválasz %1%2 lépés, %3 ms, %4 mérés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> [hiányos]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idő</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fajta</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Esemény</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistoryRecorder</name>
    <message>
        <source>Hangolás előtt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hangolás után</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Előzmények: a sérült adatbázis félretéve (%1), új adatbázis indult.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Előzmények: az adatbázis (%1) %2. A terminál előzmények nélkül dolgozik tovább.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistoryStore</name>
    <message>
        <source>zárolva van (egy másik program használja)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nem írható</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>megtelt, nincs több hely</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sérült</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>egy újabb programváltozat formájában van</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nem használható</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a Qt SQLite meghajtója hiányzik (libqt6sql6-sqlite)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a mappa nem hozható létre: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1. változat</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParamFile</name>
    <message>
        <source>a sor olyan karaktert tartalmaz, amely a file kódolásában nem tárolható</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParamSetList</name>
    <message>
        <source>Hibás vagy nem teljes motor paraméter sor .</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Válassz a listából! ( Klikkelj a listából egy sorra , majd betöltés gomb . )</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hibás paramétersor betöltés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Üres paramétersor nem betölthető.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Biztos, hogy töröljem a paramétersort ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Törlés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nincs törölhető paraméterlista.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Válassz törlendő paramétersort.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParamSetStore</name>
    <message>
        <source>Nincs se új se kiolvasott %1 paraméter , mentés így nem lehetséges. Adj meg értéket.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A %1 (%2) paraméter értéke nem menthető a KDXparam.txt filébe, mert sorvéget, nem tárolható karaktert vagy a paramétersor jelölését (P0: ... P7:, &lt;end&gt;) tartalmazza.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> file nem elérhető . Létrehozom .</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A KDXparam.txt file nem hozható létre</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A KDXparam.txt file nem olvasható</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>. A paraméterlista üres marad.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adj kommentet a paraméterlista azonosításához.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nincs komment vagy paramétersor mentés elvetés.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A komment olyan karaktert tartalmaz, amely nem menthető a KDXparam.txt filébe.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A komment nem tartalmazhatja a paramétersor jelöléseit (P0: ... P7:, &lt;end&gt;), mert a paramétersor így nem lenne betölthető.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A paramétersor mentése a KDXparam.txt filébe nem sikerült</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>. A file változatlan maradt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A KDXparam.txt file újraírása nem sikerült</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterReads</name>
    <message>
        <source>Kiolvas</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterWrites</name>
    <message>
        <source>Nincs érték megadva.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hiba</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nincs megadva új letölthető paraméter.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nincs legalább egy új paraméter. Nincs mentés.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microcontrollerbe az új paraméterek mentése megtörtént , szeretnéd KDXparam.txt filébe is menteni a beállításokat ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paraméterek mentése</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Parameters</name>
    <message>
        <source>P0 - ( Velocity limit )</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hibás P0 - (velocity limit) érték.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P1 - ( Velocity feedback )</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P2 - ( P - gain )</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P3 - ( I - gain )</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P4 - ( Torque limit )</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P5 - ( EMF )</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P6 - ( Gear ratio )</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P7 - ( D - gain )</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Csak pozitív egész érték a megengedett! (%1-%2 értékhatár között)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hibás adatbevitel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PortPanelMenu</name>
    <message>
        <source>Port választása...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tengely neve...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Előzmények...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>; jobb gomb: tengely neve, előzmények (Ctrl+H)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PortSwitch</name>
    <message>
        <source> Port használatban van.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PositionMonitor</name>
    <message>
        <source>Csak numerikus egész értéket adj meg !</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SerialPortOpener</name>
    <message>
        <source>nincs jogosultság a port használatához (dialout csoporttagság kell)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nincs jogosultság a port használatához</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a zárolási mappa (%1) nem írható, a port zárolófájl nélkül nyílt meg</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a port nem található</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a port nem nyitható meg (%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SimulatedOpener</name>
    <message>
        <source>a szimulátor nem indítható</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>szimulátor</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StepFigures</name>
    <message>
        <source>hibás mérés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nincs mérés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>túl kevés mérés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nincs lépés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nincs mérés az ablak végén</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a felvétel a mozgás vége előtt véget ért</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nem állt be a sávba</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hiányos felvétel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nincs használható felvétel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nem mind állt be a sávba</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StepMode</name>
    <message>
        <source>Csak numerikus egész értéket adj meg !</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Csak egész számérték a megengedett! 1-9999 között.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hibás adatbevitel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TuningSnapshot</name>
    <message>
        <source>P%1 = %2 (megengedett: %3-%4)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kdx::CaptureChart</name>
    <message>
        <source>Lépésválaszok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (referencia)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kdx::FiguresTable</name>
    <message>
        <source>Felvétel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Csúcshiba</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Túllövés %</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Csúcsidő ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Felfutás ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Beállás ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sáv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maradó hiba</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lengés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minta/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jellemzők</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>felvétel %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> [referencia]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> [hiányos]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> [fájlból]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>átlag ± szórás (%1 felvétel)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kdx::Form1</name>
    <message>
        <source>KDX terminal (ver.: 2.34_Frissítve : 2016.07.08. - Brenmoor)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mikrokontroller COM Port beállítás : %1,38400,N,8,1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paraméterek módosítása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motor teszt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KDXparam.txt filében tárolt paraméterek</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pozíció hiba monitorozás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aktuális érték</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új érték beállítása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új érték</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Kiolvas</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1-TESZT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1-MENT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mind KIOLVAS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mind TESZT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mind MENT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új értéket azonnal elküld.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto TUNING</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Olvasás idő : 50</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Töröl</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Feszültség - vezérelt motor futás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> PID - szabályozott motor futás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sebesség : (PID -  fesz.vezérelt módban):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lépés ismétlése P0 értéken ( + - ) :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lépés száma :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lépések közötti ismétlődés idő :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encoder felbontása :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Léptetés mód</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>STOP / RESET</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hibajel skála (+ -) :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idő skála  :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pillanatnyi pozíció hiba :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Legnagyobb pozíció hiba :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nulláz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> KDXparam.txt filében tárolt paraméterek listája</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kiválasztott paramétersor betöltés teszt sorba</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kiválasztott paramétersor törlés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paraméterlista frissítés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paraméterlista mentése filébe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM port beállítása - kattintson ide másik port választásához</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Online segítség</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kdx::HistoryWindow</name>
    <message>
        <source>Előzmények</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tengely</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Események</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minden esemény</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frissítés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tengely:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Események:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idővonal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P0..P7 a kijelölt pontokon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Visszaállítás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A kijelölt pont P0..P7 értékei az Új érték mezőkbe kerülnek. Nem küld semmit: küldés Pn-TESZT, Mind TESZT vagy Mind MENT.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV export...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A kijelölt események mentése CSV fájlba</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nincsenek előzmények.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2 esemény)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minden tengely</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Érték</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jelölj ki egy pontot az értékeihez, kettőt a változáshoz.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Változás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A: %1 – %2
B: %3 – %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Túllövés %1 %, beállási idő %2 ms, csúcshiba %3, ITAE %4 ms²</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Cél: %1, lépés: %2, lépések: %3, idő: %4 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Válassz ki pontosan egy pontot a visszaállításhoz.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nem lehet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A %1 értékei az Új érték mezőkben vannak. Semmi sem ment el: küldés Pn-TESZT, Mind TESZT vagy Mind MENT.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A visszaállítás most nem lehetséges: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Előbb jelölj ki eseményeket.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>elozmenyek</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Előzmények mentése</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV fájl (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mentve: %1 (%2 esemény)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A fájl nem írható: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kdx::LiveScope</name>
    <message>
        <source>Szünet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Teljes nézet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatikus hibatartomány</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pozíció hiba</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hibatartomány</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Időablak</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Időablak:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folytatás</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kdx::PortChooser</name>
    <message>
        <source>Port kiválasztása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Melyik porton érhető el a mikrokontroller? (38400,N,8,1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A mostani port hibája: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leírás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gyártó</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorozatszám</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Linuxon a soros portot a dialout csoport tagjai használhatják: sudo adduser &lt;felhasználó&gt; dialout, majd újra bejelentkezés.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nyelv / Language:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A választott nyelv a program következő indításakor lép életbe.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Megnyitás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mégse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frissítés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>szimulátor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>beépített szimulált vezérlő és tengely</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>szimulátor: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>beépített szimulált vezérlő, %1 tengely</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kdx::ScopeView</name>
    <message>
        <source>idő (ms)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hiba (inkrement)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grafikon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kurzor %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>K%1: %2 ms</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kdx::SerialLink</name>
    <message>
        <source>a mikrokontroller nem válaszol</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a mikrokontroller válasza értelmezhetetlen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a port nincs megnyitva</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a portot egy másik program használja</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a kapcsolat megszakadt</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kdx::Terminal</name>
    <message>
        <source>A tengely neve, amelyen dolgozol (például „3. gép, X tengely”). Az előzmények, a felvételek és a jegyzőkönyv ezzel a névvel jelölik; a program portonként megjegyzi.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tengely neve</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a vonalat egy felvétel vagy egy hangolás használja</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Port használatban van.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>; kattintson ide másik port választásához</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kdx::WorkbenchWindow</name>
    <message>
        <source>Hangolás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV fájl (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lépés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Felvételi idő</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Párok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lépés felvétele</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Párok felvétele</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Megszakítás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Egy lépés, mindig az előzővel ellentétes irányba</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+N és -N lépés, egymás után, K-szor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lépés:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idő:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Párok:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tengely neve</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pl. 3. gép, X tengely</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A tengely neve: a felvételek, az előzmények és a jegyzőkönyv ezzel jelölik; a program portonként megjegyzi.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tengely:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Előzmények</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minden kiolvasás, írás, hangolás és felvétel, tengelyenként</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Élő jel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lépésválasz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Az automata hangolás helye.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automata hangolás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jegyzőkönyv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Teljes nézet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Referencia</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Törlés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV mentés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mind CSV-be</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV betöltés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG mentés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A kijelölt felvétel lesz a referencia</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korábbi felvétel betöltése összehasonlításhoz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Megjegyzés a jegyzőkönyvbe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Megjegyzés a jegyzőkönyvbe (a gép, a megrendelő, ami a hangoláskor feltűnt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Előnézet frissítése</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jegyzőkönyv mentése (PDF és HTML)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A tengely üzembe helyezési jegyzőkönyve erről a munkamenetről: A4 PDF, és ugyanez HTML-ben mellette</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A jegyzőkönyv előnézete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Megjegyzés:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>jegyzokonyv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jegyzőkönyv mentése</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF dokumentum (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jegyzőkönyv mentve: %1 és %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mintavétel: %1 /s (a vonal határának %2 %-a)   Hibák a megnyitás óta: időtúllépés %3, értelmezhetetlen válasz %4, újraküldés %5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Felvétel...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A vonal most foglalt, próbáld újra.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kész: %1 felvétel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a mikrokontroller nem fogadta el a lépést</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>megszakítva</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A felvétel hiányos (%1); %2 felvétel megmaradt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mentve: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A fájl nem írható: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Előbb jelölj ki egy felvételt a táblázatban.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Felvétel mentése</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lepesvalasz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nincs még felvétel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Összes felvétel mentése</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lepesvalaszok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Felvétel betöltése</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A fájl nem olvasható: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hibás CSV fájl, %1. sor: %2
Semmi sem töltődött be.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Betöltve: %1 felvétel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grafikon mentése</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>grafikon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG kép (*.png)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="hu">
<context>
    <name>AutoTuner</name>
    <message>
        <source>A hangolást a kezelő leállította.</source>
        <translation>The operator stopped the tuning.</translation>
    </message>
    <message>
        <source>Lejárt a hangolásra szánt idő.</source>
        <translation>The time allowed for tuning is up.</translation>
    </message>
    <message>
        <source>Elfogyott a hangolásra szánt %1 lépés.</source>
        <translation>The %1 steps allowed for tuning are used up.</translation>
    </message>
    <message>
        <source>A pozícióhiba (%1) túllépte a megengedett %2 értéket.</source>
        <translation>The position error (%1) went beyond the allowed %2.</translation>
    </message>
    <message>
        <source>A felvétel megszakadt.</source>
        <translation>The capture broke off.</translation>
    </message>
    <message>
        <source>Túl kevés mérés érkezett egy lépés alatt.</source>
        <translation>Too few readings came in during a step.</translation>
    </message>
    <message>
        <source> A hangolás nem indul.</source>
        <translation> Tuning does not start.</translation>
    </message>
    <message>
        <source>A paraméterek két kiolvasása eltér: P%1 = %2, majd %3.</source>
        <translation>Two reads of the parameters differ: P%1 = %2, then %3.</translation>
    </message>
    <message>
        <source>Hibás kiolvasott érték: %1.</source>
        <translation>Faulty value read: %1.</translation>
    </message>
    <message>
        <source>P%1 a vezérlőben %2, az ablakban %3. Olvassa ki újra a paramétereket (Mind KIOLVAS).</source>
        <translation>P%1 is %2 in the controller and %3 in the window. Read the parameters again (Read all).</translation>
    </message>
    <message>
        <source>Paraméterek kiolvasása</source>
        <translation>Reading the parameters</translation>
    </message>
    <message>
        <source>Zaj mérése nyugalomban</source>
        <translation>Measuring the noise at rest</translation>
    </message>
    <message>
        <source>A tengely nyugalomban sem áll meg (zaj %1 impulzus), kisebb erősítésekkel sem.</source>
        <translation>The axis does not keep still even at rest (noise %1 counts), not even with lower gains.</translation>
    </message>
    <message>
        <source>A lépés (%1 impulzus) túl kicsi a zajhoz (%2) képest.</source>
        <translation>The step (%1 counts) is too small for the noise (%2).</translation>
    </message>
    <message>
        <source>A tengely nem válaszol elég gyorsan a mérésekhez.</source>
        <translation>The axis does not answer fast enough for the measurements.</translation>
    </message>
    <message>
        <source>Lépésméret</source>
        <translation>Step size</translation>
    </message>
    <message>
        <source> – leng</source>
        <translation> – swings</translation>
    </message>
    <message>
        <source>Tervezés a modellen</source>
        <translation>Designing on the model</translation>
    </message>
    <message>
        <source>Kész: %1; a túllendülés legfeljebb %2 a fél, az egyszeres és a kétszeres lépésnél.</source>
        <translation>Done: %1; overshoot at most %2 at the half, single and double step.</translation>
    </message>
    <message>
        <source>Nem találtam a mostaninál jobb beállítást: a mostani erősítések tartják a célt (%1), és a megtalált erősítések ITAE-je nem kisebb.</source>
        <translation>Found nothing better than the present setting: the present gains meet the aim (%1), and the gains found have no smaller ITAE.</translation>
    </message>
    <message>
        <source>Nem találtam a célnak (%1 túllendülés, beállás mindhárom lépésméretnél) megfelelő beállítást.</source>
        <translation>Found no setting that meets the aim (%1 overshoot, settling at all three step sizes).</translation>
    </message>
    <message>
        <source> A legközelebbi: %1 (túllendülés %2%3).</source>
        <translation> The closest: %1 (overshoot %2%3).</translation>
    </message>
    <message>
        <source>, nem áll be</source>
        <translation>, does not settle</translation>
    </message>
    <message>
        <source>Kiinduló erősítések mérése</source>
        <translation>Measuring the baseline gains</translation>
    </message>
    <message>
        <source>Kiinduló</source>
        <translation>Baseline</translation>
    </message>
    <message>
        <source>Modell illesztése</source>
        <translation>Fitting the model</translation>
    </message>
    <message>
        <source>Modell újraillesztése</source>
        <translation>Fitting the model again</translation>
    </message>
    <message>
        <source>Lengés csillapítása</source>
        <translation>Damping the swing</translation>
    </message>
    <message>
        <source>Csillapítva</source>
        <translation>Damped</translation>
    </message>
    <message>
        <source>A modell nem illeszkedik a mért lépésekhez (illesztési hiba %1 %); ezen a tengelyen nem hangolok.</source>
        <translation>The model does not fit the measured steps (fit error %1 %); no tuning on this axis.</translation>
    </message>
    <message>
        <source>Ellenőrzés (fél, egyszeres és kétszeres lépés)</source>
        <translation>Checking (half, single and double step)</translation>
    </message>
    <message>
        <source>A legközelebbi a modell szerint</source>
        <translation>The closest by the model</translation>
    </message>
    <message>
        <source>Tervezett</source>
        <translation>Designed</translation>
    </message>
    <message>
        <source>Javított</source>
        <translation>Corrected</translation>
    </message>
    <message>
        <source>A vezérlő nem válaszol: %1</source>
        <translation>The controller does not answer: %1</translation>
    </message>
    <message>
        <source> A lépés %1 volt: a választott %2 lépés a kiinduló értékekkel túl nagy hibát adott volna.</source>
        <translation> The step was %1: the chosen %2 steps would have given too large an error with the starting values.</translation>
    </message>
</context>
<context>
    <name>CaptureCsv</name>
    <message>
        <source>a %1 kétszer szerepel</source>
        <translation>%1 appears twice</translation>
    </message>
    <message>
        <source>a %1 értéke hibás: „%2”</source>
        <translation>the value of %1 is wrong: “%2”</translation>
    </message>
    <message>
        <source>a %1 oszlopsor hiányzik</source>
        <translation>the %1 column header is missing</translation>
    </message>
    <message>
        <source>két szám kell vesszővel elválasztva (%1)</source>
        <translation>two numbers separated by a comma are needed (%1)</translation>
    </message>
    <message>
        <source>az idő nem lehet negatív</source>
        <translation>the time cannot be negative</translation>
    </message>
    <message>
        <source>az idő nem csökkenhet</source>
        <translation>the time cannot go backwards</translation>
    </message>
    <message>
        <source>az itt kezdődő felvételből hiányzik a lépés mérete (step_counts)</source>
        <translation>the capture starting here lacks the step size (step_counts)</translation>
    </message>
    <message>
        <source>nem UTF-8 szöveg</source>
        <translation>not UTF-8 text</translation>
    </message>
    <message>
        <source>nincs benne felvétel</source>
        <translation>it holds no capture</translation>
    </message>
    <message>
        <source>Hibás a fájl %1. sora: %2.</source>
        <translation>Line %1 of the file is wrong: %2.</translation>
    </message>
    <message>
        <source>Hibás a fájl: %1.</source>
        <translation>The file is wrong: %1.</translation>
    </message>
</context>
<context>
    <name>CommissioningReport</name>
    <message>
        <source>Csúcshiba (impulzus)</source>
        <translation>Peak error (counts)</translation>
    </message>
    <message>
        <source>Túllövés (%)</source>
        <translation>Overshoot (%)</translation>
    </message>
    <message>
        <source>Csúcsidő (ms)</source>
        <translation>Peak time (ms)</translation>
    </message>
    <message>
        <source>Felfutási idő (ms)</source>
        <translation>Rise time (ms)</translation>
    </message>
    <message>
        <source>Beállási idő (ms)</source>
        <translation>Settling time (ms)</translation>
    </message>
    <message>
        <source>Maradó hiba (impulzus)</source>
        <translation>Steady-state error (counts)</translation>
    </message>
    <message>
        <source>IAE (ms)</source>
        <translation>IAE (ms)</translation>
    </message>
    <message>
        <source>ITAE (ms²)</source>
        <translation>ITAE (ms²)</translation>
    </message>
    <message>
        <source>Mintavétel (1/s)</source>
        <translation>Sample rate (1/s)</translation>
    </message>
    <message>
        <source>változatlan</source>
        <translation>unchanged</translation>
    </message>
    <message>
        <source>tárolva (W 0)</source>
        <translation>stored (W 0)</translation>
    </message>
    <message>
        <source>csak próba (TESZT)</source>
        <translation>trial only (TEST)</translation>
    </message>
    <message>
        <source>csak próba (hangolás)</source>
        <translation>trial only (tuning)</translation>
    </message>
    <message>
        <source>kiolvasva</source>
        <translation>read</translation>
    </message>
    <message>
        <source>idő a lépés kiadásától (ms)</source>
        <translation>time from the step command (ms)</translation>
    </message>
    <message>
        <source>pozíció hiba (impulzus)</source>
        <translation>position error (counts)</translation>
    </message>
    <message>
        <source>Nem készült lépésválasz.</source>
        <translation>No step response was captured.</translation>
    </message>
    <message>
        <source>Előtte: %1</source>
        <translation>Before: %1</translation>
    </message>
    <message>
        <source>Utána: %1</source>
        <translation>After: %1</translation>
    </message>
    <message>
        <source>Üzembe helyezési jegyzőkönyv – %1</source>
        <translation>Commissioning report – %1</translation>
    </message>
    <message>
        <source>Üzembe helyezési jegyzőkönyv</source>
        <translation>Commissioning report</translation>
    </message>
    <message>
        <source>(név nélkül)</source>
        <translation>(unnamed)</translation>
    </message>
    <message>
        <source>Tengely</source>
        <translation>Axis</translation>
    </message>
    <message>
        <source>Dátum</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Megjegyzés</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Paraméterek</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>Paraméter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Induláskor</source>
        <translation>At start</translation>
    </message>
    <message>
        <source>Átadáskor</source>
        <translation>At handover</translation>
    </message>
    <message>
        <source>Állapot</source>
        <translation>State</translation>
    </message>
    <message>
        <source>„tárolva (W 0)”: a vezérlő kikapcsolás után is ezt az értéket használja. „csak próba”: a vezérlő kikapcsolásig használja, tárolni Pn-MENT vagy Mind MENT gombbal lehet.</source>
        <translation>“stored (W 0)”: the controller keeps using this value after power-off. “trial only”: the controller uses it until power-off; Pn-SAVE or Save all stores it.</translation>
    </message>
    <message>
        <source>Lépésválasz előtte és utána</source>
        <translation>Step response before and after</translation>
    </message>
    <message>
        <source>Jellemző</source>
        <translation>Figure</translation>
    </message>
    <message>
        <source>Előtte</source>
        <translation>Before</translation>
    </message>
    <message>
        <source>Utána</source>
        <translation>After</translation>
    </message>
    <message>
        <source>Felvétel</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>Lengések</source>
        <translation>Oscillations</translation>
    </message>
    <message>
        <source>előtte: %1</source>
        <translation>before: %1</translation>
    </message>
    <message>
        <source>utána: %1</source>
        <translation>after: %1</translation>
    </message>
    <message>
        <source>A hátrafelé tett lépés előjelét megfordítva mutatja.</source>
        <translation>A backward step is shown with its sign reversed.</translation>
    </message>
    <message>
        <source>Ebben a munkamenetben nem készült lépésválasz ezen a tengelyen.</source>
        <translation>No step response was captured on this axis in this session.</translation>
    </message>
    <message>
        <source>Automata hangolás</source>
        <translation>Auto-tuning</translation>
    </message>
    <message>
        <source>Cél</source>
        <translation>Aim</translation>
    </message>
    <message>
        <source>Eredmény</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Erősítések</source>
        <translation>Gains</translation>
    </message>
    <message>
        <source>Mozgások</source>
        <translation>Moves</translation>
    </message>
    <message>
        <source>Idő</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>Írások a munkamenetben</source>
        <translation>Writes in the session</translation>
    </message>
    <message>
        <source>Nem volt írás.</source>
        <translation>No writes.</translation>
    </message>
    <message>
        <source>Új érték</source>
        <translation>New value</translation>
    </message>
    <message>
        <source>Mód</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Visszaolvasva</source>
        <translation>Read back</translation>
    </message>
    <message>
        <source>mentés (W 0)</source>
        <translation>save (W 0)</translation>
    </message>
    <message>
        <source>próba (TESZT)</source>
        <translation>trial (TEST)</translation>
    </message>
    <message>
        <source>Az utolsó %1 írás a(z) %2 közül; mind az Előzmények ablakban.</source>
        <translation>The last %1 of %2 writes; all of them are in the History window.</translation>
    </message>
    <message>
        <source>Készítette: %1 %2</source>
        <translation>Made by %1 %2</translation>
    </message>
    <message>
        <source>A fájl nem írható: %1</source>
        <translation>The file cannot be written: %1</translation>
    </message>
    <message>
        <source>yyyy. MMMM d., HH:mm</source>
        <comment>date format</comment>
        <translation>yyyy-MM-dd HH:mm</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Segítség helye...</source>
        <translation>Help appears here...</translation>
    </message>
    <message>
        <source>Automata motor paraméter beállítás .</source>
        <translation>Automatic tuning of the motor parameters.</translation>
    </message>
    <message>
        <source>Kiválasztás esetén a scroll bar értéket azonnal mentés nélkül(teszt módban) elküldi a microcontrollerbe.</source>
        <translation>When ticked, the scroll bar value is sent to the controller at once, without saving (test mode).</translation>
    </message>
    <message>
        <source>Scroll bar értéke ebbe az érték boxba kerül (aktivált zöld box).</source>
        <translation>The scroll bar value goes into this value box (the active green box).</translation>
    </message>
    <message>
        <source>Paraméter kiolvasás időzítő .</source>
        <translation>Parameter read timer.</translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt összes érték kiolvasása</source>
        <translation>Reads every value the controller uses now</translation>
    </message>
    <message>
        <source>Aktuális velocity limit érték kiolvasása</source>
        <translation>Reads the current velocity limit</translation>
    </message>
    <message>
        <source>Aktuális velocity feedback érték kiolvasása</source>
        <translation>Reads the current velocity feedback</translation>
    </message>
    <message>
        <source>Aktuális P gain érték kiolvasása</source>
        <translation>Reads the current P gain</translation>
    </message>
    <message>
        <source>Aktuális I gain érték kiolvasása</source>
        <translation>Reads the current I gain</translation>
    </message>
    <message>
        <source>Aktuális torque limit érték kiolvasása</source>
        <translation>Reads the current torque limit</translation>
    </message>
    <message>
        <source>Aktuális EMS feedback érték kiolvasása</source>
        <translation>Reads the current EMF feedback</translation>
    </message>
    <message>
        <source>Aktuális gear ratio érték kiolvasása</source>
        <translation>Reads the current gear ratio</translation>
    </message>
    <message>
        <source>Aktuális D gain érték kiolvasása</source>
        <translation>Reads the current D gain</translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt velocity limit (sebesség határ) érték. </source>
        <translation>Velocity limit the controller uses now. </translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt velocity feedback (sebesség visszajelzés) érték</source>
        <translation>Velocity feedback the controller uses now</translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt P gain (P tag) érték</source>
        <translation>P gain (proportional term) the controller uses now</translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt I gain (I tag) érték</source>
        <translation>I gain (integral term) the controller uses now</translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt torque limit érték. </source>
        <translation>Torque limit the controller uses now. </translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt EMF érték</source>
        <translation>EMF value the controller uses now</translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt gear ratio érték (áttétel : 256=1:4 , 1024=1:1). Áttétel : 1:</source>
        <translation>Gear ratio the controller uses now (256 = 1:4, 1024 = 1:1). Ratio 1:</translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt gear ratio érték (áttétel : 256=1:4 , 1024=1:1).</source>
        <translation>Gear ratio the controller uses now (256 = 1:4, 1024 = 1:1).</translation>
    </message>
    <message>
        <source>Microcontrollerben jelenleg használt D gain (D tag) érték</source>
        <translation>D gain (derivative term) the controller uses now</translation>
    </message>
    <message>
        <source>Új velocity limit értéket itt adhatsz meg .  Scroll bar értéke ide kerül.</source>
        <translation>Enter a new velocity limit here. The scroll bar value goes here.</translation>
    </message>
    <message>
        <source>Új velocity feedback értéket itt adhatsz meg .  Scroll bar értéke ide kerül.</source>
        <translation>Enter a new velocity feedback here. The scroll bar value goes here.</translation>
    </message>
    <message>
        <source>Új P gain értéket itt adhatsz meg . Scroll bar értéke ide kerül.</source>
        <translation>Enter a new P gain here. The scroll bar value goes here.</translation>
    </message>
    <message>
        <source>Új I gain értéket itt adhatsz meg .  Scroll bar értéke ide kerül.</source>
        <translation>Enter a new I gain here. The scroll bar value goes here.</translation>
    </message>
    <message>
        <source>Új torque limit érték. </source>
        <translation>New torque limit. </translation>
    </message>
    <message>
        <source>Új torque limit érték.</source>
        <translation>New torque limit.</translation>
    </message>
    <message>
        <source>Új EMS feedback értéket itt adhatsz meg . Scroll bar értéke ide kerül.</source>
        <translation>Enter a new EMF feedback here. The scroll bar value goes here.</translation>
    </message>
    <message>
        <source>Új beállított gear ratio érték (áttétel : 256=1:4 , 1024=1:1). Áttétel : 1:</source>
        <translation>New gear ratio (256 = 1:4, 1024 = 1:1). Ratio 1:</translation>
    </message>
    <message>
        <source>Új beállított gear ratio érték (áttétel : 256=1:4 , 1024=1:1).</source>
        <translation>New gear ratio (256 = 1:4, 1024 = 1:1).</translation>
    </message>
    <message>
        <source>Új D gain értéket itt adhatsz meg .  Scroll bar értéke ide kerül.</source>
        <translation>Enter a new D gain here. The scroll bar value goes here.</translation>
    </message>
    <message>
        <source>Új velocity limit értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation>Sends the new velocity limit to the controller without saving it (test value).</translation>
    </message>
    <message>
        <source>Új velocity feedback értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation>Sends the new velocity feedback to the controller without saving it (test value).</translation>
    </message>
    <message>
        <source>Új P gain értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation>Sends the new P gain to the controller without saving it (test value).</translation>
    </message>
    <message>
        <source>Új I gain értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation>Sends the new I gain to the controller without saving it (test value).</translation>
    </message>
    <message>
        <source>Új torque limit értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation>Sends the new torque limit to the controller without saving it (test value).</translation>
    </message>
    <message>
        <source>Új EMF feedback értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation>Sends the new EMF feedback to the controller without saving it (test value).</translation>
    </message>
    <message>
        <source>Új gear ratio értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation>Sends the new gear ratio to the controller without saving it (test value).</translation>
    </message>
    <message>
        <source>Új D gain értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).</source>
        <translation>Sends the new D gain to the controller without saving it (test value).</translation>
    </message>
    <message>
        <source>Új velocity limit értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation>Sends the new velocity limit to the controller and saves it there.</translation>
    </message>
    <message>
        <source>Új velocity feedback értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation>Sends the new velocity feedback to the controller and saves it there.</translation>
    </message>
    <message>
        <source>Új P gain értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation>Sends the new P gain to the controller and saves it there.</translation>
    </message>
    <message>
        <source>Új I gain értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation>Sends the new I gain to the controller and saves it there.</translation>
    </message>
    <message>
        <source>Új torque limit értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation>Sends the new torque limit to the controller and saves it there.</translation>
    </message>
    <message>
        <source>Új EMF feedback értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation>Sends the new EMF feedback to the controller and saves it there.</translation>
    </message>
    <message>
        <source>Új gear ratio értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation>Sends the new gear ratio to the controller and saves it there.</translation>
    </message>
    <message>
        <source>Új D gain értéket elküldöd a microconrollerbe , új érték mentéssel.</source>
        <translation>Sends the new D gain to the controller and saves it there.</translation>
    </message>
    <message>
        <source>Minden új értéket elküldöd a microconrollerbe , új érték mentés nélkül.</source>
        <translation>Sends every new value to the controller without saving them.</translation>
    </message>
    <message>
        <source>Minden új értéket elküldöd a microconrollerbe , új értékek mentéssel.</source>
        <translation>Sends every new value to the controller and saves them there.</translation>
    </message>
    <message>
        <source>Motor futás feszültségvezérelt módban .</source>
        <translation>Runs the motor in voltage-controlled mode.</translation>
    </message>
    <message>
        <source>Motor futás PID szabályozott módban a fordulatszám scroll baron beállított sebességen.</source>
        <translation>Runs the motor in PID-controlled mode at the speed set on the speed scroll bar.</translation>
    </message>
    <message>
        <source>Léptető mód kiválasztása.</source>
        <translation>Selects step mode.</translation>
    </message>
    <message>
        <source>Motor futás leállítása + RESET .</source>
        <translation>Stops the motor + RESET.</translation>
    </message>
    <message>
        <source>Ismétlődve lépteti a motort a kiválasztott irányba a megadott (NEM encoder impulzus)lépésjel számmal P0 sebességen.</source>
        <translation>Steps the motor again and again in the chosen direction by the given number of step pulses (NOT encoder counts) at P0 speed.</translation>
    </message>
    <message>
        <source>Motor forgásirány léptető módban (+).</source>
        <translation>Motor direction in step mode (+).</translation>
    </message>
    <message>
        <source>Motor forgásirány léptető módban (-).</source>
        <translation>Motor direction in step mode (-).</translation>
    </message>
    <message>
        <source>Léptetés P0 sebességen . 1 motor fordulat = encoder felbontása × 4</source>
        <translation>Steps at P0 speed. 1 motor turn = encoder resolution × 4</translation>
    </message>
    <message>
        <source>Encoder felbontása . </source>
        <translation>Encoder resolution. </translation>
    </message>
    <message>
        <source>Pozíció hiba mérés be-kikapcsolható . Nem minden KDX mikrokontroller programban elérhető funkció !</source>
        <translation>Switches the position error measurement on or off. Not every KDX controller program has it!</translation>
    </message>
    <message>
        <source>Pillanatnyi pozíció hiba grafikus megjelenítése.</source>
        <translation>The current position error as a trace.</translation>
    </message>
    <message>
        <source>Pillanatnyi pozíció hiba . </source>
        <translation>Current position error. </translation>
    </message>
    <message>
        <source>Legnagyobb pozíció hiba . </source>
        <translation>Largest position error. </translation>
    </message>
    <message>
        <source>Legnagyobb és pillanatnyi pozíció hiba érték nullázása .</source>
        <translation>Zeroes the largest and the current position error.</translation>
    </message>
    <message>
        <source>Pozíció hiba érték nullázása . Csak a programban ! Microcontroller-ben nem. </source>
        <translation>Zeroes the position error. In the program only, not in the controller! </translation>
    </message>
    <message>
        <source>Monitorozás bezárása . KDXparam.txt file-ben tárolt paraméter listák megjelenítése .</source>
        <translation>Closes the monitor and shows the parameter sets stored in KDXparam.txt.</translation>
    </message>
    <message>
        <source>Filében tárolt paraméterlista. </source>
        <translation>Parameter sets stored in the file. </translation>
    </message>
    <message>
        <source>Filében tárolt paraméterlista frissítése.</source>
        <translation>Reads the parameter sets from the file again.</translation>
    </message>
    <message>
        <source>A filében tárolt paraméterlista betöltése , megnyitása.</source>
        <translation>Loads the selected parameter set from the file.</translation>
    </message>
    <message>
        <source>KDXparam.txt filéből kiválasztott paramétersor törlése.</source>
        <translation>Deletes the selected parameter set from KDXparam.txt.</translation>
    </message>
    <message>
        <source>KDXparam.txt file bezárás , monitorozás megnyitása .</source>
        <translation>Closes KDXparam.txt and opens the monitor.</translation>
    </message>
    <message>
        <source>Help : Mozgasd az egér kurzort a gombok vagy érték mező fölé.</source>
        <translation>Help: move the mouse pointer over a button or a value box.</translation>
    </message>
</context>
<context>
    <name>History</name>
    <message>
        <source>Kiolvasás</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Írás</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Hangolás</source>
        <translation>Tuning</translation>
    </message>
    <message>
        <source>Felvétel</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>indításkor</source>
        <translation>at start</translation>
    </message>
    <message>
        <source>Mind KIOLVAS</source>
        <translation>Read all</translation>
    </message>
    <message>
        <source>késve megnyílt port</source>
        <translation>port opened late</translation>
    </message>
    <message>
        <source>újracsatlakozás után</source>
        <translation>after reconnecting</translation>
    </message>
    <message>
        <source>portváltás után</source>
        <translation>after a port change</translation>
    </message>
    <message>
        <source>hangolás előtti pillanatkép</source>
        <translation>snapshot before tuning</translation>
    </message>
    <message>
        <source>visszaírás után</source>
        <translation>after restoring</translation>
    </message>
    <message>
        <source>hangolva</source>
        <translation>tuned</translation>
    </message>
    <message>
        <source>nem talált jobbat</source>
        <translation>found nothing better</translation>
    </message>
    <message>
        <source>megszakítva</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>a hangolás előtti értékek visszaírva</source>
        <translation>the values from before tuning restored</translation>
    </message>
    <message>
        <source>a hangolás előtti értékeket nem sikerült visszaírni</source>
        <translation>the values from before tuning could not be restored</translation>
    </message>
    <message>
        <source>Nincs túllendülés</source>
        <translation>No overshoot</translation>
    </message>
    <message>
        <source>Kiegyensúlyozott</source>
        <translation>Balanced</translation>
    </message>
    <message>
        <source>Gyors</source>
        <translation>Fast</translation>
    </message>
    <message>
        <source>%1 (név nélkül)</source>
        <translation>%1 (unnamed)</translation>
    </message>
    <message>
        <source>%1 – %2</source>
        <translation>%1 – %2</translation>
    </message>
    <message>
        <source>P0..P7 kiolvasva (%1)</source>
        <translation>P0..P7 read (%1)</translation>
    </message>
    <message>
        <source>P%1 mentés (W 0): %2 → %3</source>
        <translation>P%1 save (W 0): %2 → %3</translation>
    </message>
    <message>
        <source>P%1 próba: %2 → %3</source>
        <translation>P%1 trial: %2 → %3</translation>
    </message>
    <message>
        <source> (visszaolvasva: %1)</source>
        <translation> (read back: %1)</translation>
    </message>
    <message>
        <source>Automata hangolás: %1</source>
        <translation>Auto-tuning: %1</translation>
    </message>
    <message>
        <source>Automata hangolás: %1 – %2</source>
        <translation>Auto-tuning: %1 – %2</translation>
    </message>
    <message>
        <source>Lépésválasz %1%2 lépés, %3 ms, %4 mérés</source>
        <translation>Step response %1%2 steps, %3 ms, %4 readings</translation>
    </message>
    <message>
        <source> [hiányos]</source>
        <translation> [incomplete]</translation>
    </message>
    <message>
        <source>Idő</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Fajta</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>Esemény</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>yyyy.MM.dd. HH:mm:ss</source>
        <comment>date and time format</comment>
        <translation>yyyy-MM-dd HH:mm:ss</translation>
    </message>
</context>
<context>
    <name>HistoryRecorder</name>
    <message>
        <source>Hangolás előtt</source>
        <translation>Before tuning</translation>
    </message>
    <message>
        <source>Hangolás után</source>
        <translation>After tuning</translation>
    </message>
    <message>
        <source>Előzmények: a sérült adatbázis félretéve (%1), új adatbázis indult.</source>
        <translation>History: the damaged database was set aside (%1) and a new one started.</translation>
    </message>
    <message>
        <source>Előzmények: az adatbázis (%1) %2. A terminál előzmények nélkül dolgozik tovább.</source>
        <translation>History: the database (%1) %2. The terminal carries on without history.</translation>
    </message>
</context>
<context>
    <name>HistoryStore</name>
    <message>
        <source>zárolva van (egy másik program használja)</source>
        <translation>is locked (another program uses it)</translation>
    </message>
    <message>
        <source>nem írható</source>
        <translation>cannot be written</translation>
    </message>
    <message>
        <source>megtelt, nincs több hely</source>
        <translation>is full, there is no more room</translation>
    </message>
    <message>
        <source>sérült</source>
        <translation>is damaged</translation>
    </message>
    <message>
        <source>egy újabb programváltozat formájában van</source>
        <translation>is in the format of a newer version of the program</translation>
    </message>
    <message>
        <source>nem használható</source>
        <translation>cannot be used</translation>
    </message>
    <message>
        <source>a Qt SQLite meghajtója hiányzik (libqt6sql6-sqlite)</source>
        <translation>Qt&apos;s SQLite driver is missing (libqt6sql6-sqlite)</translation>
    </message>
    <message>
        <source>a mappa nem hozható létre: %1</source>
        <translation>the folder cannot be made: %1</translation>
    </message>
    <message>
        <source>%1. változat</source>
        <translation>version %1</translation>
    </message>
</context>
<context>
    <name>LinkTuningAxis</name>
    <message>
        <source>nincs válasz</source>
        <translation>no answer</translation>
    </message>
    <message>
        <source>érthetetlen válasz</source>
        <translation>unintelligible answer</translation>
    </message>
    <message>
        <source>a port nincs nyitva</source>
        <translation>the port is not open</translation>
    </message>
    <message>
        <source>a kapcsolat megszakadt</source>
        <translation>the connection was lost</translation>
    </message>
    <message>
        <source>P%1 = %2 értéket a vezérlő nem fogadta el</source>
        <translation>the controller refused P%1 = %2</translation>
    </message>
</context>
<context>
    <name>ParamFile</name>
    <message>
        <source>a sor olyan karaktert tartalmaz, amely a file kódolásában nem tárolható</source>
        <translation>the line holds a character that the file&apos;s encoding cannot store</translation>
    </message>
</context>
<context>
    <name>ParamSetList</name>
    <message>
        <source>Hibás vagy nem teljes motor paraméter sor .</source>
        <translation>The motor parameter set is wrong or incomplete.</translation>
    </message>
    <message>
        <source>Válassz a listából! ( Klikkelj a listából egy sorra , majd betöltés gomb . )</source>
        <translation>Choose from the list! (Click a set in the list, then the load button.)</translation>
    </message>
    <message>
        <source>Hibás paramétersor betöltés</source>
        <translation>Parameter set not loaded</translation>
    </message>
    <message>
        <source>Üres paramétersor nem betölthető.</source>
        <translation>An empty parameter set cannot be loaded.</translation>
    </message>
    <message>
        <source>Biztos, hogy töröljem a paramétersort ?</source>
        <translation>Delete the parameter set?</translation>
    </message>
    <message>
        <source>Törlés</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Nincs törölhető paraméterlista.</source>
        <translation>There is no parameter set to delete.</translation>
    </message>
    <message>
        <source>Válassz törlendő paramétersort.</source>
        <translation>Choose the parameter set to delete.</translation>
    </message>
</context>
<context>
    <name>ParamSetStore</name>
    <message>
        <source>Nincs se új se kiolvasott %1 paraméter , mentés így nem lehetséges. Adj meg értéket.</source>
        <translation>There is neither a new nor a read %1 value, so the set cannot be saved. Enter a value.</translation>
    </message>
    <message>
        <source>A %1 (%2) paraméter értéke nem menthető a KDXparam.txt filébe, mert sorvéget, nem tárolható karaktert vagy a paramétersor jelölését (P0: ... P7:, &lt;end&gt;) tartalmazza.</source>
        <translation>The value of %1 (%2) cannot be saved in KDXparam.txt: it holds a line break, a character the file cannot store or a parameter set marker (P0: ... P7:, &lt;end&gt;).</translation>
    </message>
    <message>
        <source>A KDXparam.txt file nem hozható létre</source>
        <translation>KDXparam.txt cannot be created</translation>
    </message>
    <message>
        <source>A KDXparam.txt file nem olvasható</source>
        <translation>KDXparam.txt cannot be read</translation>
    </message>
    <message>
        <source>. A paraméterlista üres marad.</source>
        <translation>. The parameter list stays empty.</translation>
    </message>
    <message>
        <source>Adj kommentet a paraméterlista azonosításához.</source>
        <translation>Enter a comment to name the parameter set.</translation>
    </message>
    <message>
        <source>Nincs komment vagy paramétersor mentés elvetés.</source>
        <translation>No comment, or saving the parameter set was cancelled.</translation>
    </message>
    <message>
        <source>A komment olyan karaktert tartalmaz, amely nem menthető a KDXparam.txt filébe.</source>
        <translation>The comment holds a character that cannot be saved in KDXparam.txt.</translation>
    </message>
    <message>
        <source>A komment nem tartalmazhatja a paramétersor jelöléseit (P0: ... P7:, &lt;end&gt;), mert a paramétersor így nem lenne betölthető.</source>
        <translation>The comment cannot hold the parameter set markers (P0: ... P7:, &lt;end&gt;): the set could not be loaded again.</translation>
    </message>
    <message>
        <source>A paramétersor mentése a KDXparam.txt filébe nem sikerült</source>
        <translation>The parameter set could not be saved in KDXparam.txt</translation>
    </message>
    <message>
        <source>. A file változatlan maradt.</source>
        <translation>. The file is unchanged.</translation>
    </message>
    <message>
        <source>A KDXparam.txt file újraírása nem sikerült</source>
        <translation>KDXparam.txt could not be rewritten</translation>
    </message>
    <message>
        <source>%1 file nem elérhető . Létrehozom .</source>
        <translation>%1 is not there. Creating it.</translation>
    </message>
</context>
<context>
    <name>ParameterReads</name>
    <message>
        <source>Kiolvas</source>
        <translation>Reading</translation>
    </message>
</context>
<context>
    <name>ParameterWrites</name>
    <message>
        <source>Nincs érték megadva.</source>
        <translation>No value entered.</translation>
    </message>
    <message>
        <source>Hiba</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Nincs megadva új letölthető paraméter.</source>
        <translation>No new parameter value to send.</translation>
    </message>
    <message>
        <source>Nincs legalább egy új paraméter. Nincs mentés.</source>
        <translation>Not a single new parameter value. Nothing saved.</translation>
    </message>
    <message>
        <source>Microcontrollerbe az új paraméterek mentése megtörtént , szeretnéd KDXparam.txt filébe is menteni a beállításokat ?</source>
        <translation>The new parameters are saved in the controller. Save the settings in KDXparam.txt too?</translation>
    </message>
    <message>
        <source>Paraméterek mentése</source>
        <translation>Save parameters</translation>
    </message>
</context>
<context>
    <name>Parameters</name>
    <message>
        <source>P0 - ( Velocity limit )</source>
        <translation>P0 - ( Velocity limit )</translation>
    </message>
    <message>
        <source>Hibás P0 - (velocity limit) érték.</source>
        <translation>Wrong P0 (velocity limit) value.</translation>
    </message>
    <message>
        <source>P1 - ( Velocity feedback )</source>
        <translation>P1 - ( Velocity feedback )</translation>
    </message>
    <message>
        <source>P2 - ( P - gain )</source>
        <translation>P2 - ( P - gain )</translation>
    </message>
    <message>
        <source>P3 - ( I - gain )</source>
        <translation>P3 - ( I - gain )</translation>
    </message>
    <message>
        <source>P4 - ( Torque limit )</source>
        <translation>P4 - ( Torque limit )</translation>
    </message>
    <message>
        <source>P5 - ( EMF )</source>
        <translation>P5 - ( EMF )</translation>
    </message>
    <message>
        <source>P6 - ( Gear ratio )</source>
        <translation>P6 - ( Gear ratio )</translation>
    </message>
    <message>
        <source>P7 - ( D - gain )</source>
        <translation>P7 - ( D - gain )</translation>
    </message>
    <message>
        <source>Csak pozitív egész érték a megengedett! (%1-%2 értékhatár között)</source>
        <translation>Only a positive whole number is allowed! (from %1 to %2)</translation>
    </message>
    <message>
        <source>Hibás adatbevitel</source>
        <translation>Invalid input</translation>
    </message>
    <message>
        <source>Hibás P1 - (velocity feedback) érték.</source>
        <translation>Wrong P1 (velocity feedback) value.</translation>
    </message>
    <message>
        <source>Hibás P2 - (P gain) érték.</source>
        <translation>Wrong P2 (P gain) value.</translation>
    </message>
    <message>
        <source>Hibás P3 - (I gain) érték.</source>
        <translation>Wrong P3 (I gain) value.</translation>
    </message>
    <message>
        <source>Hibás P4 - (torque limit) érték.</source>
        <translation>Wrong P4 (torque limit) value.</translation>
    </message>
    <message>
        <source>Hibás P5 - (EMF) érték.</source>
        <translation>Wrong P5 (EMF) value.</translation>
    </message>
    <message>
        <source>Hibás P6 - (gear ratio) érték.</source>
        <translation>Wrong P6 (gear ratio) value.</translation>
    </message>
    <message>
        <source>Hibás P7 - (D gain) érték.</source>
        <translation>Wrong P7 (D gain) value.</translation>
    </message>
</context>
<context>
    <name>PortPanelMenu</name>
    <message>
        <source>Port választása...</source>
        <translation>Choose port...</translation>
    </message>
    <message>
        <source>Tengely neve...</source>
        <translation>Axis name...</translation>
    </message>
    <message>
        <source>Előzmények...</source>
        <translation>History...</translation>
    </message>
    <message>
        <source>; jobb gomb: tengely neve, előzmények (Ctrl+H)</source>
        <translation>; right button: axis name, history (Ctrl+H)</translation>
    </message>
</context>
<context>
    <name>PortSwitch</name>
    <message>
        <source>%1 Port használatban van.</source>
        <translation>Port %1 is in use.</translation>
    </message>
</context>
<context>
    <name>PositionMonitor</name>
    <message>
        <source>Csak numerikus egész értéket adj meg !</source>
        <translation>Enter a whole number only!</translation>
    </message>
</context>
<context>
    <name>SerialPortOpener</name>
    <message>
        <source>nincs jogosultság a port használatához (dialout csoporttagság kell)</source>
        <translation>no permission to use the port (membership of the dialout group is needed)</translation>
    </message>
    <message>
        <source>nincs jogosultság a port használatához</source>
        <translation>no permission to use the port</translation>
    </message>
    <message>
        <source>a zárolási mappa (%1) nem írható, a port zárolófájl nélkül nyílt meg</source>
        <translation>the lock folder (%1) cannot be written; the port opened without a lock file</translation>
    </message>
    <message>
        <source>a port nem található</source>
        <translation>the port is not there</translation>
    </message>
    <message>
        <source>a port nem nyitható meg (%1)</source>
        <translation>the port cannot be opened (%1)</translation>
    </message>
</context>
<context>
    <name>SimulatedOpener</name>
    <message>
        <source>a szimulátor nem indítható</source>
        <translation>the simulator cannot start</translation>
    </message>
    <message>
        <source>szimulátor</source>
        <translation>simulator</translation>
    </message>
</context>
<context>
    <name>StepFigures</name>
    <message>
        <source>hibás mérés</source>
        <translation>faulty readings</translation>
    </message>
    <message>
        <source>nincs mérés</source>
        <translation>no readings</translation>
    </message>
    <message>
        <source>túl kevés mérés</source>
        <translation>too few readings</translation>
    </message>
    <message>
        <source>nincs lépés</source>
        <translation>no step</translation>
    </message>
    <message>
        <source>nincs mérés az ablak végén</source>
        <translation>no readings at the end of the window</translation>
    </message>
    <message>
        <source>a felvétel a mozgás vége előtt véget ért</source>
        <translation>the capture ended before the move did</translation>
    </message>
    <message>
        <source>nem állt be a sávba</source>
        <translation>did not settle into the band</translation>
    </message>
    <message>
        <source>hiányos felvétel</source>
        <translation>incomplete capture</translation>
    </message>
    <message>
        <source>nincs használható felvétel</source>
        <translation>no usable capture</translation>
    </message>
    <message>
        <source>nem mind állt be a sávba</source>
        <translation>not all settled into the band</translation>
    </message>
</context>
<context>
    <name>StepMode</name>
    <message>
        <source>Csak numerikus egész értéket adj meg !</source>
        <translation>Enter a whole number only!</translation>
    </message>
    <message>
        <source>Csak egész számérték a megengedett! 1-9999 között.</source>
        <translation>Only a whole number is allowed! From 1 to 9999.</translation>
    </message>
    <message>
        <source>Hibás adatbevitel</source>
        <translation>Invalid input</translation>
    </message>
</context>
<context>
    <name>TuningSnapshot</name>
    <message>
        <source>P%1 = %2 (megengedett: %3-%4)</source>
        <translation>P%1 = %2 (allowed: %3-%4)</translation>
    </message>
</context>
<context>
    <name>kdx::CaptureChart</name>
    <message>
        <source>Lépésválaszok</source>
        <translation>Step responses</translation>
    </message>
    <message>
        <source> (referencia)</source>
        <translation> (reference)</translation>
    </message>
</context>
<context>
    <name>kdx::FiguresTable</name>
    <message>
        <source>Felvétel</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>Csúcshiba</source>
        <translation>Peak error</translation>
    </message>
    <message>
        <source>Túllövés %</source>
        <translation>Overshoot %</translation>
    </message>
    <message>
        <source>Csúcsidő ms</source>
        <translation>Peak time ms</translation>
    </message>
    <message>
        <source>Felfutás ms</source>
        <translation>Rise ms</translation>
    </message>
    <message>
        <source>Beállás ms</source>
        <translation>Settling ms</translation>
    </message>
    <message>
        <source>Sáv</source>
        <translation>Band</translation>
    </message>
    <message>
        <source>Maradó hiba</source>
        <translation>Steady error</translation>
    </message>
    <message>
        <source>Lengés</source>
        <translation>Oscill.</translation>
    </message>
    <message>
        <source>Minta/s</source>
        <translation>Samples/s</translation>
    </message>
    <message>
        <source>Jellemzők</source>
        <translation>Figures</translation>
    </message>
    <message>
        <source>felvétel %1</source>
        <translation>capture %1</translation>
    </message>
    <message>
        <source> [referencia]</source>
        <translation> [reference]</translation>
    </message>
    <message>
        <source> [hiányos]</source>
        <translation> [incomplete]</translation>
    </message>
    <message>
        <source> [fájlból]</source>
        <translation> [from file]</translation>
    </message>
    <message numerus="yes">
        <source>átlag ± szórás (%n felvétel)</source>
        <translation>
            <numerusform>mean ± std. dev. (%n capture)</numerusform>
            <numerusform>mean ± std. dev. (%n captures)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>kdx::Form1</name>
    <message>
        <source>KDX terminal (ver.: 2.34_Frissítve : 2016.07.08. - Brenmoor)</source>
        <translation>KDX terminal (ver.: 2.34_Updated : 2016.07.08. - Brenmoor)</translation>
    </message>
    <message>
        <source>Mikrokontroller COM Port beállítás : %1,38400,N,8,1</source>
        <translation>Controller port: %1,38400,N,8,1</translation>
    </message>
    <message>
        <source>Paraméterek módosítása</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>Motor teszt</source>
        <translation>Motor test</translation>
    </message>
    <message>
        <source>KDXparam.txt filében tárolt paraméterek</source>
        <translation>Parameter sets stored in KDXparam.txt</translation>
    </message>
    <message>
        <source>Pozíció hiba monitorozás</source>
        <translation>Position error monitor</translation>
    </message>
    <message>
        <source>Aktuális érték</source>
        <translation>Current value</translation>
    </message>
    <message>
        <source>Új érték beállítása</source>
        <translation>Set new value</translation>
    </message>
    <message>
        <source>Új érték</source>
        <translation>New value</translation>
    </message>
    <message>
        <source>%1 Kiolvas</source>
        <translation>%1 Read</translation>
    </message>
    <message>
        <source>%1-TESZT</source>
        <translation>%1-TEST</translation>
    </message>
    <message>
        <source>%1-MENT</source>
        <translation>%1-SAVE</translation>
    </message>
    <message>
        <source>Mind KIOLVAS</source>
        <translation>Read all</translation>
    </message>
    <message>
        <source>Mind TESZT</source>
        <translation>Test all</translation>
    </message>
    <message>
        <source>Mind MENT</source>
        <translation>Save all</translation>
    </message>
    <message>
        <source>Új értéket azonnal elküld.</source>
        <translation>Send new value at once.</translation>
    </message>
    <message>
        <source>Auto TUNING</source>
        <translation>Auto TUNING</translation>
    </message>
    <message>
        <source>Olvasás idő : 50</source>
        <translation>Read time : 50</translation>
    </message>
    <message>
        <source>Töröl</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Feszültség - vezérelt motor futás</source>
        <translation>Voltage-controlled motor run</translation>
    </message>
    <message>
        <source> PID - szabályozott motor futás</source>
        <translation>PID-controlled motor run</translation>
    </message>
    <message>
        <source>Sebesség : (PID -  fesz.vezérelt módban):</source>
        <translation>Speed (PID and voltage mode):</translation>
    </message>
    <message>
        <source>Lépés ismétlése P0 értéken ( + - ) :</source>
        <translation>Repeat steps at P0 speed ( + - ):</translation>
    </message>
    <message>
        <source>Lépés száma :</source>
        <translation>Step count:</translation>
    </message>
    <message>
        <source>Lépések közötti ismétlődés idő :</source>
        <translation>Time between steps:</translation>
    </message>
    <message>
        <source>Encoder felbontása :</source>
        <translation>Encoder resolution:</translation>
    </message>
    <message>
        <source>Léptetés mód</source>
        <translation>Step mode</translation>
    </message>
    <message>
        <source>STOP / RESET</source>
        <translation>STOP / RESET</translation>
    </message>
    <message>
        <source>Hibajel skála (+ -) :</source>
        <translation>Error scale (+ -):</translation>
    </message>
    <message>
        <source>Idő skála  :</source>
        <translation>Time scale:</translation>
    </message>
    <message>
        <source>Pillanatnyi pozíció hiba :</source>
        <translation>Current position error:</translation>
    </message>
    <message>
        <source>Legnagyobb pozíció hiba :</source>
        <translation>Largest position error:</translation>
    </message>
    <message>
        <source>Nulláz</source>
        <translation>Zero</translation>
    </message>
    <message>
        <source> KDXparam.txt filében tárolt paraméterek listája</source>
        <translation>Parameter sets stored in KDXparam.txt</translation>
    </message>
    <message>
        <source>Kiválasztott paramétersor betöltés teszt sorba</source>
        <translation>Load the selected set into the new values</translation>
    </message>
    <message>
        <source>Kiválasztott paramétersor törlés</source>
        <translation>Delete the selected set</translation>
    </message>
    <message>
        <source>Paraméterlista frissítés</source>
        <translation>Refresh the list</translation>
    </message>
    <message>
        <source>Paraméterlista mentése filébe</source>
        <translation>Save the list to the file</translation>
    </message>
    <message>
        <source>COM port beállítása - kattintson ide másik port választásához</source>
        <translation>Serial port - click here to choose another port</translation>
    </message>
    <message>
        <source>Online segítség</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Nulláz_old</source>
        <translation>Zero_old</translation>
    </message>
</context>
<context>
    <name>kdx::HistoryWindow</name>
    <message>
        <source>Előzmények</source>
        <translation>History</translation>
    </message>
    <message>
        <source>Tengely</source>
        <translation>Axis</translation>
    </message>
    <message>
        <source>Események</source>
        <translation>Events</translation>
    </message>
    <message>
        <source>Minden esemény</source>
        <translation>All events</translation>
    </message>
    <message>
        <source>Frissítés</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>&amp;Tengely:</source>
        <translation>&amp;Axis:</translation>
    </message>
    <message>
        <source>&amp;Események:</source>
        <translation>&amp;Events:</translation>
    </message>
    <message>
        <source>Idővonal</source>
        <translation>Timeline</translation>
    </message>
    <message>
        <source>P0..P7 a kijelölt pontokon</source>
        <translation>P0..P7 at the selected points</translation>
    </message>
    <message>
        <source>Visszaállítás</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>A kijelölt pont P0..P7 értékei az Új érték mezőkbe kerülnek. Nem küld semmit: küldés Pn-TESZT, Mind TESZT vagy Mind MENT.</source>
        <translation>The selected point&apos;s P0..P7 go into the New value boxes. Nothing is sent: send with Pn-TEST, Test all or Save all.</translation>
    </message>
    <message>
        <source>CSV export...</source>
        <translation>Export CSV...</translation>
    </message>
    <message>
        <source>A kijelölt események mentése CSV fájlba</source>
        <translation>Saves the selected events in a CSV file</translation>
    </message>
    <message>
        <source>Nincsenek előzmények.</source>
        <translation>No history.</translation>
    </message>
    <message>
        <source>Minden tengely</source>
        <translation>All axes</translation>
    </message>
    <message>
        <source>Érték</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Jelölj ki egy pontot az értékeihez, kettőt a változáshoz.</source>
        <translation>Select one point for its values, two for the change.</translation>
    </message>
    <message>
        <source>A</source>
        <translation>A</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>Változás</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>A: %1 – %2
B: %3 – %4</source>
        <translation>A: %1 – %2
B: %3 – %4</translation>
    </message>
    <message>
        <source>
Túllövés %1 %, beállási idő %2 ms, csúcshiba %3, ITAE %4 ms²</source>
        <translation>
Overshoot %1 %, settling time %2 ms, peak error %3, ITAE %4 ms²</translation>
    </message>
    <message>
        <source>
Cél: %1, lépés: %2, lépések: %3, idő: %4 s</source>
        <translation>
Aim: %1, step: %2, steps used: %3, time: %4 s</translation>
    </message>
    <message>
        <source>Válassz ki pontosan egy pontot a visszaállításhoz.</source>
        <translation>Select exactly one point to restore.</translation>
    </message>
    <message>
        <source>nem lehet</source>
        <translation>not possible</translation>
    </message>
    <message>
        <source>A %1 értékei az Új érték mezőkben vannak. Semmi sem ment el: küldés Pn-TESZT, Mind TESZT vagy Mind MENT.</source>
        <translation>The values of %1 are in the New value boxes. Nothing was sent: send with Pn-TEST, Test all or Save all.</translation>
    </message>
    <message>
        <source>A visszaállítás most nem lehetséges: %1</source>
        <translation>Cannot restore now: %1</translation>
    </message>
    <message>
        <source>Előbb jelölj ki eseményeket.</source>
        <translation>Select events first.</translation>
    </message>
    <message>
        <source>elozmenyek</source>
        <translation>history</translation>
    </message>
    <message>
        <source>Előzmények mentése</source>
        <translation>Save history</translation>
    </message>
    <message>
        <source>CSV fájl (*.csv)</source>
        <translation>CSV file (*.csv)</translation>
    </message>
    <message>
        <source>A fájl nem írható: %1</source>
        <translation>The file cannot be written: %1</translation>
    </message>
    <message numerus="yes">
        <source>%1 (%n esemény)</source>
        <translation>
            <numerusform>%1 (%n event)</numerusform>
            <numerusform>%1 (%n events)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Mentve: %1 (%n esemény)</source>
        <translation>
            <numerusform>Saved: %1 (%n event)</numerusform>
            <numerusform>Saved: %1 (%n events)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>kdx::LiveScope</name>
    <message>
        <source>Szünet</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Teljes nézet</source>
        <translation>Whole view</translation>
    </message>
    <message>
        <source>Automatikus hibatartomány</source>
        <translation>Automatic error range</translation>
    </message>
    <message>
        <source>Pozíció hiba</source>
        <translation>Position error</translation>
    </message>
    <message>
        <source>Hibatartomány</source>
        <translation>Error range</translation>
    </message>
    <message>
        <source>Időablak</source>
        <translation>Time window</translation>
    </message>
    <message>
        <source>Időablak:</source>
        <translation>Time window:</translation>
    </message>
    <message>
        <source>Folytatás</source>
        <translation>Resume</translation>
    </message>
</context>
<context>
    <name>kdx::PortChooser</name>
    <message>
        <source>Port kiválasztása</source>
        <translation>Choose port</translation>
    </message>
    <message>
        <source>Melyik porton érhető el a mikrokontroller? (38400,N,8,1)</source>
        <translation>Which port is the controller on? (38400,N,8,1)</translation>
    </message>
    <message>
        <source>A mostani port hibája: %1</source>
        <translation>Fault of the present port: %1</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Leírás</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Gyártó</source>
        <translation>Manufacturer</translation>
    </message>
    <message>
        <source>Sorozatszám</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>Linuxon a soros portot a dialout csoport tagjai használhatják: sudo adduser &lt;felhasználó&gt; dialout, majd újra bejelentkezés.</source>
        <translation>On Linux, members of the dialout group may use the serial ports: sudo adduser &lt;user&gt; dialout, then log in again.</translation>
    </message>
    <message>
        <source>Nyelv / Language:</source>
        <translation>Nyelv / Language:</translation>
    </message>
    <message>
        <source>A választott nyelv a program következő indításakor lép életbe.</source>
        <translation>The chosen language takes effect the next time the program starts.</translation>
    </message>
    <message>
        <source>Megnyitás</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Mégse</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Frissítés</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>szimulátor</source>
        <translation>simulator</translation>
    </message>
    <message>
        <source>beépített szimulált vezérlő és tengely</source>
        <translation>built-in simulated controller and axis</translation>
    </message>
    <message>
        <source>szimulátor: %1</source>
        <translation>simulator: %1</translation>
    </message>
    <message>
        <source>beépített szimulált vezérlő, %1 tengely</source>
        <translation>built-in simulated controller, %1 axis</translation>
    </message>
</context>
<context>
    <name>kdx::ScopeView</name>
    <message>
        <source>idő (ms)</source>
        <translation>time (ms)</translation>
    </message>
    <message>
        <source>hiba (inkrement)</source>
        <translation>error (counts)</translation>
    </message>
    <message>
        <source>Grafikon</source>
        <translation>Chart</translation>
    </message>
    <message>
        <source>Kurzor %1</source>
        <translation>Cursor %1</translation>
    </message>
    <message>
        <source>K%1: %2 ms</source>
        <translation>C%1: %2 ms</translation>
    </message>
</context>
<context>
    <name>kdx::SerialLink</name>
    <message>
        <source>a mikrokontroller nem válaszol</source>
        <translation>the controller does not answer</translation>
    </message>
    <message>
        <source>a mikrokontroller válasza értelmezhetetlen</source>
        <translation>the controller&apos;s answer makes no sense</translation>
    </message>
    <message>
        <source>a port nincs megnyitva</source>
        <translation>the port is not open</translation>
    </message>
    <message>
        <source>a portot egy másik program használja</source>
        <translation>another program uses the port</translation>
    </message>
    <message>
        <source>a kapcsolat megszakadt</source>
        <translation>the connection was lost</translation>
    </message>
</context>
<context>
    <name>kdx::Terminal</name>
    <message>
        <source>A tengely neve, amelyen dolgozol (például „3. gép, X tengely”). Az előzmények, a felvételek és a jegyzőkönyv ezzel a névvel jelölik; a program portonként megjegyzi.</source>
        <translation>The name of the axis you work on (for example “Machine 3, X axis”). The history, the captures and the report carry this name; the program remembers it for each port.</translation>
    </message>
    <message>
        <source>Tengely neve</source>
        <translation>Axis name</translation>
    </message>
    <message>
        <source>a vonalat egy felvétel vagy egy hangolás használja</source>
        <translation>a capture or a tuning run is using the line</translation>
    </message>
    <message>
        <source>; kattintson ide másik port választásához</source>
        <translation>; click here to choose another port</translation>
    </message>
</context>
<context>
    <name>kdx::TuningController</name>
    <message>
        <source>Automata hangolás</source>
        <translation>Auto-tuning</translation>
    </message>
    <message>
        <source>A paraméterek aktuális értéke nem ismert. Olvassa ki őket (Mind KIOLVAS), aztán indítsa a hangolást.</source>
        <translation>The present parameter values are not known. Read them (Read all), then start the tuning.</translation>
    </message>
    <message>
        <source>Elfogadva: az értékek az Új érték mezőkben, próbaként érvényesek. Tárolás: P-MENT / Mind MENT.</source>
        <translation>Accepted: the values are in the New value boxes and in force for trial. To store them: P-SAVE / Save all.</translation>
    </message>
    <message>
        <source>Elvetve: a hangolás előtti értékek vissza vannak írva.</source>
        <translation>Discarded: the values from before tuning are written back.</translation>
    </message>
    <message>
        <source>A hangolás előtti értékeket nem sikerült visszaírni (%1).</source>
        <translation>The values from before tuning could not be written back (%1).</translation>
    </message>
    <message>
        <source>Hangolási napló mentése</source>
        <translation>Save tuning log</translation>
    </message>
    <message>
        <source>A naplót nem sikerült menteni: %1</source>
        <translation>The log could not be saved: %1</translation>
    </message>
    <message>
        <source>Egy korábbi automata hangolás nem fejeződött be, és a vezérlőben próbaértékek maradhattak. Visszaírjam a hangolás előtti értékeket?
%1</source>
        <translation>An earlier auto-tuning did not finish, and trial values may be left in the controller. Write back the values from before tuning?
%1</translation>
    </message>
    <message>
        <source>Egy korábbi automata hangolás nem fejeződött be, és a vezérlőben próbaértékek maradhattak. A hangolás előtti értékek között hibás is van: %1. Ezt nem írom vissza, a vezérlő mostani értéke marad. Visszaírjam a többi hangolás előtti értéket?
%2</source>
        <translation>An earlier auto-tuning did not finish, and trial values may be left in the controller. Among the values from before tuning one is faulty: %1. That one is not written back; the controller keeps its present value. Write back the other values from before tuning?
%2</translation>
    </message>
    <message>
        <source>A visszaírás nem sikerült; a pillanatkép megmarad: %1</source>
        <translation>Writing back failed; the snapshot is kept: %1</translation>
    </message>
</context>
<context>
    <name>kdx::TuningPanel</name>
    <message>
        <source>Túllendülés (%)</source>
        <translation>Overshoot (%)</translation>
    </message>
    <message>
        <source>Beállási idő (ms)</source>
        <translation>Settling time (ms)</translation>
    </message>
    <message>
        <source>Legnagyobb hiba (impulzus)</source>
        <translation>Largest error (counts)</translation>
    </message>
    <message>
        <source>Lépések</source>
        <translation>Steps</translation>
    </message>
    <message>
        <source>Kiinduló</source>
        <translation>Baseline</translation>
    </message>
    <message>
        <source>Hangolt</source>
        <translation>Tuned</translation>
    </message>
    <message>
        <source>Fél lépés</source>
        <translation>Half step</translation>
    </message>
    <message>
        <source>Dupla lépés</source>
        <translation>Double step</translation>
    </message>
    <message>
        <source>Modell szerint</source>
        <translation>By the model</translation>
    </message>
    <message>
        <source>Szakasz</source>
        <translation>Stage</translation>
    </message>
    <message>
        <source>Túllendülés %</source>
        <translation>Overshoot %</translation>
    </message>
    <message>
        <source>Beállás ms</source>
        <translation>Settling ms</translation>
    </message>
    <message>
        <source>Beáll</source>
        <translation>Settles</translation>
    </message>
    <message>
        <source>Célt tartja</source>
        <translation>Meets aim</translation>
    </message>
    <message>
        <source>Automata hangolás</source>
        <translation>Auto-tuning</translation>
    </message>
    <message>
        <source>Indítás</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Elfogad</source>
        <translation>Accept</translation>
    </message>
    <message>
        <source>Elvet</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Napló mentése (CSV)</source>
        <translation>Save log (CSV)</translation>
    </message>
    <message>
        <source>A hangolás leállítása, a kiinduló értékek visszaírása (Esc).</source>
        <translation>Stops the tuning and writes the starting values back (Esc).</translation>
    </message>
    <message>
        <source>A hangolt értékek az Új érték mezőkbe, és TESZT írás. Mentés: P-MENT / Mind MENT.</source>
        <translation>Puts the tuned values into the New value boxes and test-writes them. To store them: P-SAVE / Save all.</translation>
    </message>
    <message>
        <source>A hangolás előtti értékek visszaírása.</source>
        <translation>Writes the values from before tuning back.</translation>
    </message>
    <message>
        <source>Nincs futó hangolás</source>
        <translation>No tuning running</translation>
    </message>
    <message>
        <source>Jellemzők</source>
        <translation>Figures</translation>
    </message>
    <message>
        <source>A modell</source>
        <translation>The model</translation>
    </message>
    <message>
        <source>Lépésválaszok</source>
        <translation>Step responses</translation>
    </message>
    <message>
        <source>Modell illesztése</source>
        <translation>Model fit</translation>
    </message>
    <message>
        <source>Próbált erősítések</source>
        <translation>Gains tried</translation>
    </message>
    <message>
        <source>Beállítások</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source> lépés</source>
        <translation> steps</translation>
    </message>
    <message>
        <source> impulzus</source>
        <translation> counts</translation>
    </message>
    <message>
        <source>változatlan</source>
        <translation>unchanged</translation>
    </message>
    <message>
        <source>Nincs túllendülés</source>
        <translation>No overshoot</translation>
    </message>
    <message>
        <source>Kiegyensúlyozott (legfeljebb 5 %)</source>
        <translation>Balanced (at most 5 %)</translation>
    </message>
    <message>
        <source>Gyors (legfeljebb 15 %)</source>
        <translation>Fast (at most 15 %)</translation>
    </message>
    <message>
        <source>Lépés nagysága :</source>
        <translation>Step size:</translation>
    </message>
    <message>
        <source>Megengedett legnagyobb hiba :</source>
        <translation>Largest error allowed:</translation>
    </message>
    <message>
        <source>Nyomaték korlát hangolás közben (P4) :</source>
        <translation>Torque limit while tuning (P4):</translation>
    </message>
    <message>
        <source>Cél :</source>
        <translation>Aim:</translation>
    </message>
    <message>
        <source>Időkeret :</source>
        <translation>Time allowed:</translation>
    </message>
    <message>
        <source>Hangolt erősítések :</source>
        <translation>Gains to tune:</translation>
    </message>
    <message>
        <source>idő (ms)</source>
        <translation>time (ms)</translation>
    </message>
    <message>
        <source>hiba (impulzus)</source>
        <translation>error (counts)</translation>
    </message>
    <message>
        <source>Mért lépések és a modell</source>
        <translation>Measured steps and the model</translation>
    </message>
    <message>
        <source>A hangolás fut. Leállítás: Stop vagy Esc.</source>
        <translation>Tuning is running. To stop it: Stop or Esc.</translation>
    </message>
    <message>
        <source>Indul</source>
        <translation>Starting</translation>
    </message>
    <message>
        <source>%1 – hátra legfeljebb %2 s</source>
        <translation>%1 – at most %2 s left</translation>
    </message>
    <message>
        <source>igen</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>nem</source>
        <translation>no</translation>
    </message>
    <message>
        <source>hiba (a lépés %-a)</source>
        <translation>error (% of step)</translation>
    </message>
    <message>
        <source>%1 mért</source>
        <translation>%1 measured</translation>
    </message>
    <message>
        <source>%1 modell</source>
        <translation>%1 model</translation>
    </message>
    <message>
        <source>Modell: illesztési hiba %1 %, a tengely sávszélessége a modell szerint %2 Hz; P tartalék: %3-szor nagyobb P erősítésnél lengene. Javítások: %4.</source>
        <translation>Model: fit error %1 %, the axis bandwidth by the model %2 Hz; P margin: it would oscillate at %3 times the P gain. Corrections: %4.</translation>
    </message>
    <message>
        <source>Vége</source>
        <translation>Finished</translation>
    </message>
    <message>
        <source> Az új értékek próbaként (TESZT) érvényesek: Elfogad vagy Elvet.</source>
        <translation> The new values are in force for trial (TEST): Accept or Discard.</translation>
    </message>
    <message>
        <source> A kiinduló értékek vissza vannak írva.</source>
        <translation> The starting values are written back.</translation>
    </message>
    <message>
        <source> A kiinduló értékeket NEM sikerült visszaírni; a következő indításkor a program felajánlja.</source>
        <translation> The starting values could NOT be written back; the program offers it at the next start.</translation>
    </message>
</context>
<context>
    <name>kdx::TuningRun</name>
    <message>
        <source> (A pillanatkép fájlt nem sikerült írni: %1)</source>
        <translation> (The snapshot file could not be written: %1)</translation>
    </message>
</context>
<context>
    <name>kdx::WorkbenchWindow</name>
    <message>
        <source>Hangolás</source>
        <translation>Tuning</translation>
    </message>
    <message>
        <source>CSV fájl (*.csv)</source>
        <translation>CSV file (*.csv)</translation>
    </message>
    <message>
        <source>Lépés</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>Felvételi idő</source>
        <translation>Capture time</translation>
    </message>
    <message>
        <source>Párok</source>
        <translation>Pairs</translation>
    </message>
    <message>
        <source>Lépés felvétele</source>
        <translation>Capture step</translation>
    </message>
    <message>
        <source>Párok felvétele</source>
        <translation>Capture pairs</translation>
    </message>
    <message>
        <source>Megszakítás</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Egy lépés, mindig az előzővel ellentétes irányba</source>
        <translation>One step, each in the direction opposite to the last</translation>
    </message>
    <message>
        <source>+N és -N lépés, egymás után, K-szor</source>
        <translation>+N and -N steps, one after the other, K times</translation>
    </message>
    <message>
        <source>Lépés:</source>
        <translation>Step:</translation>
    </message>
    <message>
        <source>Idő:</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>Párok:</source>
        <translation>Pairs:</translation>
    </message>
    <message>
        <source>Tengely neve</source>
        <translation>Axis name</translation>
    </message>
    <message>
        <source>pl. 3. gép, X tengely</source>
        <translation>e.g. Machine 3, X axis</translation>
    </message>
    <message>
        <source>A tengely neve: a felvételek, az előzmények és a jegyzőkönyv ezzel jelölik; a program portonként megjegyzi.</source>
        <translation>The name of the axis: the captures, the history and the report carry it; the program remembers it for each port.</translation>
    </message>
    <message>
        <source>&amp;Tengely:</source>
        <translation>&amp;Axis:</translation>
    </message>
    <message>
        <source>Előzmények</source>
        <translation>History</translation>
    </message>
    <message>
        <source>Minden kiolvasás, írás, hangolás és felvétel, tengelyenként</source>
        <translation>Every read, write, tuning run and capture, axis by axis</translation>
    </message>
    <message>
        <source>Élő jel</source>
        <translation>Live signal</translation>
    </message>
    <message>
        <source>Lépésválasz</source>
        <translation>Step response</translation>
    </message>
    <message>
        <source>Az automata hangolás helye.</source>
        <translation>Auto-tuning goes here.</translation>
    </message>
    <message>
        <source>Automata hangolás</source>
        <translation>Auto-tuning</translation>
    </message>
    <message>
        <source>Jegyzőkönyv</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>Teljes nézet</source>
        <translation>Whole view</translation>
    </message>
    <message>
        <source>Referencia</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>Törlés</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>CSV mentés</source>
        <translation>Save CSV</translation>
    </message>
    <message>
        <source>Mind CSV-be</source>
        <translation>All to CSV</translation>
    </message>
    <message>
        <source>CSV betöltés</source>
        <translation>Load CSV</translation>
    </message>
    <message>
        <source>PNG mentés</source>
        <translation>Save PNG</translation>
    </message>
    <message>
        <source>A kijelölt felvétel lesz a referencia</source>
        <translation>Makes the selected capture the reference</translation>
    </message>
    <message>
        <source>Korábbi felvétel betöltése összehasonlításhoz</source>
        <translation>Loads an earlier capture to compare with</translation>
    </message>
    <message>
        <source>Megjegyzés a jegyzőkönyvbe</source>
        <translation>Note for the report</translation>
    </message>
    <message>
        <source>Megjegyzés a jegyzőkönyvbe (a gép, a megrendelő, ami a hangoláskor feltűnt)</source>
        <translation>Note for the report (the machine, the customer, anything noticed while tuning)</translation>
    </message>
    <message>
        <source>Előnézet frissítése</source>
        <translation>Refresh preview</translation>
    </message>
    <message>
        <source>Jegyzőkönyv mentése (PDF és HTML)...</source>
        <translation>Save report (PDF and HTML)...</translation>
    </message>
    <message>
        <source>A tengely üzembe helyezési jegyzőkönyve erről a munkamenetről: A4 PDF, és ugyanez HTML-ben mellette</source>
        <translation>The axis&apos;s commissioning report of this session: an A4 PDF, and the same in HTML beside it</translation>
    </message>
    <message>
        <source>A jegyzőkönyv előnézete</source>
        <translation>Report preview</translation>
    </message>
    <message>
        <source>&amp;Megjegyzés:</source>
        <translation>&amp;Note:</translation>
    </message>
    <message>
        <source>jegyzokonyv</source>
        <translation>report</translation>
    </message>
    <message>
        <source>Jegyzőkönyv mentése</source>
        <translation>Save report</translation>
    </message>
    <message>
        <source>PDF dokumentum (*.pdf)</source>
        <translation>PDF document (*.pdf)</translation>
    </message>
    <message>
        <source>Jegyzőkönyv mentve: %1 és %2</source>
        <translation>Report saved: %1 and %2</translation>
    </message>
    <message>
        <source>Mintavétel: %1 /s (a vonal határának %2 %-a)   Hibák a megnyitás óta: időtúllépés %3, értelmezhetetlen válasz %4, újraküldés %5</source>
        <translation>Sampling: %1 /s (%2 % of what the line allows)   Faults since opening: timeouts %3, unintelligible answers %4, resends %5</translation>
    </message>
    <message>
        <source>Felvétel...</source>
        <translation>Capturing...</translation>
    </message>
    <message>
        <source>A vonal most foglalt, próbáld újra.</source>
        <translation>The line is busy now; try again.</translation>
    </message>
    <message>
        <source>a mikrokontroller nem fogadta el a lépést</source>
        <translation>the controller refused the step</translation>
    </message>
    <message>
        <source>megszakítva</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>Mentve: %1</source>
        <translation>Saved: %1</translation>
    </message>
    <message>
        <source>A fájl nem írható: %1</source>
        <translation>The file cannot be written: %1</translation>
    </message>
    <message>
        <source>Előbb jelölj ki egy felvételt a táblázatban.</source>
        <translation>Select a capture in the table first.</translation>
    </message>
    <message>
        <source>Felvétel mentése</source>
        <translation>Save capture</translation>
    </message>
    <message>
        <source>lepesvalasz</source>
        <translation>step-response</translation>
    </message>
    <message>
        <source>Nincs még felvétel.</source>
        <translation>No captures yet.</translation>
    </message>
    <message>
        <source>Összes felvétel mentése</source>
        <translation>Save all captures</translation>
    </message>
    <message>
        <source>lepesvalaszok</source>
        <translation>step-responses</translation>
    </message>
    <message>
        <source>Felvétel betöltése</source>
        <translation>Load capture</translation>
    </message>
    <message>
        <source>A fájl nem olvasható: %1</source>
        <translation>The file cannot be read: %1</translation>
    </message>
    <message>
        <source>Hibás CSV fájl, %1. sor: %2
Semmi sem töltődött be.</source>
        <translation>Faulty CSV file, line %1: %2
Nothing was loaded.</translation>
    </message>
    <message>
        <source>Grafikon mentése</source>
        <translation>Save chart</translation>
    </message>
    <message>
        <source>grafikon</source>
        <translation>chart</translation>
    </message>
    <message>
        <source>PNG kép (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message numerus="yes">
        <source>Kész: %n felvétel.</source>
        <translation>
            <numerusform>Done: %n capture.</numerusform>
            <numerusform>Done: %n captures.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>A felvétel hiányos (%1); %n felvétel megmaradt.</source>
        <translation>
            <numerusform>The capture is incomplete (%1); %n capture kept.</numerusform>
            <numerusform>The capture is incomplete (%1); %n captures kept.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Betöltve: %n felvétel.</source>
        <translation>
            <numerusform>Loaded: %n capture.</numerusform>
            <numerusform>Loaded: %n captures.</numerusform>
        </translation>
    </message>
</context>
</TS>

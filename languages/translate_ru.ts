<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../src/app/aboutdialog.cpp" line="+34"/>
        <source>About GPRS configurator</source>
        <translation>О программе «Конфигуратор GPRS»</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>GPRS configurator %1
Built with Qt %2, running on Qt %3.
Released under the MIT licence.

Log: %4
Journal of Writes: %5</source>
        <translation>Конфигуратор GPRS %1
Собран с Qt %2, работает на Qt %3.
Распространяется по лицензии MIT.

Журнал работы: %4
История записей: %5</translation>
    </message>
</context>
<context>
    <name>ActivityLog</name>
    <message>
        <location filename="../src/files/activitylog.cpp" line="+48"/>
        <source>the folder cannot be made</source>
        <translation>папку нельзя создать</translation>
    </message>
</context>
<context>
    <name>CommissioningRecord</name>
    <message>
        <location filename="../src/app/commissioningrecord.cpp" line="+90"/>
        <source>line %1</source>
        <translation>строка %1</translation>
    </message>
    <message>
        <location line="+29"/>
        <location line="+66"/>
        <source>Commissioning record</source>
        <translation>Акт пусконаладки</translation>
    </message>
    <message>
        <location line="-62"/>
        <source>Started</source>
        <translation>Начало</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ended</source>
        <translation>Окончание</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>User</source>
        <translation>Пользователь</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Computer</source>
        <translation>Компьютер</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Template</source>
        <translation>Шаблон</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Table</source>
        <translation>Таблица</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Settings of the template</source>
        <translation>Настройки шаблона</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Setting</source>
        <translation>Настройка</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Value</source>
        <translation>Значение</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Modems</source>
        <translation>Модемы</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Row</source>
        <translation>Строка</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Own phone number</source>
        <translation>Свой номер телефона</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Port</source>
        <translation>Порт</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Result</source>
        <translation>Результат</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Settings from the table: %1</source>
        <translation>Настройки из таблицы: %1</translation>
    </message>
    <message numerus="yes">
        <location line="+10"/>
        <source>%1 of %n rows verified</source>
        <translation>
            <numerusform>Проверена %1 строка из %n</numerusform>
            <numerusform>Проверено %1 строки из %n</numerusform>
            <numerusform>Проверено %1 строк из %n</numerusform>
        </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Every row of the table is verified.</source>
        <translation>Все строки таблицы проверены.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Rows not done:</source>
        <translation>Не выполнены строки:</translation>
    </message>
</context>
<context>
    <name>DeviceProcedures</name>
    <message>
        <location filename="../src/worker/deviceprocedures.cpp" line="+31"/>
        <source>The modem accepted the new main settings, but still holds its old phone numbers and mirror servers: write again</source>
        <translation>Модем принял новые основные настройки, но номера телефонов и серверы-зеркала в нём прежние: запишите ещё раз</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The modem accepted the new main settings and phone number 1 with its mirror server, but still holds the old rest: write again</source>
        <translation>Модем принял новые основные настройки и номер телефона 1 с его сервером-зеркалом, остальное в нём прежнее: запишите ещё раз</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The modem accepted the new main settings and phone numbers 1 to %1 with their mirror servers, but still holds the old rest: write again</source>
        <translation>Модем принял новые основные настройки и номера телефонов 1–%1 с их серверами-зеркалами, остальное в нём прежнее: запишите ещё раз</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>The connection &quot;%1&quot; asks for %2 baud, which the modem does not have; it takes %3</source>
        <translation>В подключении «%1» скорость %2 бод, которой у модема нет; допустимы: %3</translation>
    </message>
    <message>
        <location line="+74"/>
        <source>Whether the modem took this block is not known: read it, and write again</source>
        <translation>Неизвестно, принял ли модем этот блок: прочитайте его и запишите снова</translation>
    </message>
    <message>
        <location line="+60"/>
        <source>A second answer or a second master is on the line: check that nothing else polls the modem</source>
        <translation>На линии второй ответ или второй ведущий: проверьте, что модем не опрашивает никто другой</translation>
    </message>
    <message>
        <location line="+78"/>
        <source>The gateway has no path to the modem: check its routing for unit %1</source>
        <translation>У шлюза нет пути к модему: проверьте его маршрутизацию для устройства %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The modem behind the gateway did not answer: check the gateway&apos;s serial side (its baud rate and the line to the modem), and that the modem is powered</source>
        <translation>Модем за шлюзом не ответил: проверьте последовательную сторону шлюза (скорость и линию до модема) и питание модема</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>%1 speaks %2: connect with %3</source>
        <translation>%1 работает по протоколу %2: подключайтесь через %3</translation>
    </message>
</context>
<context>
    <name>DeviceSettings</name>
    <message>
        <location filename="../src/settings/settingchecks.cpp" line="+39"/>
        <source>the text contains a NUL character</source>
        <translation>в тексте есть символ NUL</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>the text contains an unpaired surrogate character</source>
        <translation>в тексте есть непарный суррогатный символ</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the text takes %1 bytes but the field holds %2</source>
        <translation>текст занимает %1 байт, а поле вмещает %2</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>&quot;%1&quot; has more than six parts; expected e.g. 9600,8,1,N,0,0</source>
        <translation>в «%1» больше шести частей; нужно, например, 9600,8,1,N,0,0</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>the baud rate &quot;%1&quot; is not one the device supports</source>
        <translation>скорость «%1» модем не поддерживает</translation>
    </message>
    <message>
        <location line="-18"/>
        <source>&quot;%1&quot; is not an address of four numbers from 0 to 255 separated by dots, such as 192.168.0.1</source>
        <translation>«%1» — не адрес из четырёх чисел от 0 до 255 через точку, вроде 192.168.0.1</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>&quot;%1&quot; lacks the data bits, stop bits or parity; expected e.g. 9600,8,1,N,0,0</source>
        <translation>в «%1» нет битов данных, стоп-битов или чётности; нужно, например, 9600,8,1,N,0,0</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the data bits &quot;%1&quot; are not 5, 6, 7 or 8</source>
        <translation>число битов данных «%1» — не 5, 6, 7 или 8</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the stop bits &quot;%1&quot; are not 1 or 2</source>
        <translation>число стоп-битов «%1» — не 1 и не 2</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the parity &quot;%1&quot; is not N, E, O, S or M</source>
        <translation>чётность «%1» — не N, E, O, S или M</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the option &quot;%1&quot; is not 0 or 1</source>
        <translation>флаг «%1» — не 0 и не 1</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>the address is empty; type 0.0.0.0 for none</source>
        <translation>адрес пуст; если адреса нет, введите 0.0.0.0</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the serial setting is empty; expected e.g. 9600,8,1,N,0,0</source>
        <translation>настройка линии пуста; ожидается, например, 9600,8,1,N,0,0</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the number is empty; type 0 for none</source>
        <translation>число не задано; если значения нет, введите 0</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>&quot;%1&quot; is not a whole number from 0 to 65535</source>
        <translation>«%1» — не целое число от 0 до 65535</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&quot;%1&quot; is not a whole number from 0 to 655359</source>
        <translation>«%1» — не целое число от 0 до 655359</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the modem keeps this time in steps of 10, so &quot;%1&quot; would read back as %2</source>
        <translation>модем хранит это время с шагом 10, поэтому «%1» прочитается как %2</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Cannot write %1 (%2): %3</source>
        <translation>Нельзя записать «%1» (%2): %3</translation>
    </message>
</context>
<context>
    <name>FleetProvisioner</name>
    <message>
        <location filename="../src/worker/fleetprovisioner.cpp" line="+100"/>
        <source>The report cannot be read: %1. Nothing was written</source>
        <translation>Отчёт нельзя прочитать: %1. Ничего не записано</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The report %1 is damaged at line %2: %3. Nothing was written: mend it, or name another report</source>
        <translation>Отчёт %1 повреждён в строке %2: %3. Ничего не записано: исправьте его или укажите другой отчёт</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>The report cannot be written: %1: %2. Nothing was written</source>
        <translation>Отчёт нельзя записать: %1: %2. Ничего не записано</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>%1 of %2 rows were verified in an earlier run and are left out</source>
        <translation>Строки, проверенные при прошлом запуске, пропускаются: %1 из %2</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>%1 of %2 rows verified</source>
        <translation>Проверено строк: %1 из %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1; not yet: %2%3</source>
        <translation>%1; ещё не проверены: %2%3</translation>
    </message>
    <message>
        <location line="+2"/>
        <source> and %1 more</source>
        <translation> и ещё %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Stopped: every port finished its modem first</source>
        <translation>Остановлено: каждый порт сначала закончил работу со своим модемом</translation>
    </message>
    <message>
        <location line="+310"/>
        <source>waiting for a modem</source>
        <translation>ожидание модема</translation>
    </message>
    <message>
        <location line="-246"/>
        <source>No modem answered on %1</source>
        <translation>Модем не ответил на %1</translation>
    </message>
    <message>
        <location line="+248"/>
        <source>%1: reading</source>
        <translation>%1: чтение</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1: writing block %2</source>
        <translation>%1: запись блока %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1: verifying</source>
        <translation>%1: проверка</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>waiting for the modem to be taken away</source>
        <translation>ожидание отключения модема</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>done</source>
        <translation>готово</translation>
    </message>
    <message>
        <location line="-10"/>
        <source>reading</source>
        <translation>чтение</translation>
    </message>
    <message>
        <location line="-208"/>
        <source>The modem holds %1 already, which was verified: it was given no other row</source>
        <translation>Модем уже хранит проверенную строку %1: другой строки он не получил</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>The modem already holds the row: nothing was written</source>
        <translation>Модем уже хранит эту строку: ничего не записано</translation>
    </message>
    <message>
        <location line="+64"/>
        <source>Every row is taken: the modem was left untouched</source>
        <translation>Все строки заняты: модем оставлен без изменений</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The row of %1 %2 (%3) is verified already: the modem was left untouched</source>
        <translation>Строка с %1 %2 (%3) уже проверена: модем оставлен без изменений</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The row of %1 %2 (%3) is being written on another port: the modem was left untouched</source>
        <translation>Строка с %1 %2 (%3) сейчас записывается через другой порт: модем оставлен без изменений</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>No row has %1 %2: the modem was left untouched</source>
        <translation>Ни в одной строке нет %1 %2: модем оставлен без изменений</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>line %1</source>
        <translation>строка %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 (line %2)</source>
        <translation>%1 (строка %2)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>changed %1</source>
        <translation>изменено: %1</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>only %1 of the line&apos;s %2 bytes could be written</source>
        <translation>удалось записать только %1 из %2 байт строки</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The report cannot be written: %1: %2. %3 stopped%4</source>
        <translation>Отчёт нельзя записать: %1: %2. Порт %3 остановлен%4</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>; %1 is on its modem but not in the report: add its line before a run resumes from the report, or the row goes to another modem too</source>
        <translation>; %1 уже в модеме, но её нет в отчёте: допишите её строку в отчёт, прежде чем продолжать запуск по нему, иначе эта строка достанется и другому модему</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>%1 of %2 rows verified | %3</source>
        <translation>Проверено строк: %1 из %2 | %3</translation>
    </message>
</context>
<context>
    <name>GuardedWrite</name>
    <message>
        <location filename="../src/worker/guardedwrite.cpp" line="+44"/>
        <source>Reading the modem before writing…</source>
        <translation>Чтение модема перед записью…</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Nothing was written: %1</source>
        <translation>Ничего не записано: %1</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Writing %1 of the %2 blocks; the modem holds the others already</source>
        <translation>Записываются %1 из %2 блоков; остальные модем уже хранит</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Nothing was written: what the modem holds could not be kept in the journal: %1</source>
        <translation>Ничего не записано: не удалось сохранить в историю записей то, что хранит модем: %1</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>stopped</source>
        <translation>остановлено</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Its outcome could not be kept in the journal: %1</source>
        <translation>Её итог не удалось сохранить в истории записей: %1</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Verified: the modem holds what was written</source>
        <translation>Проверено: модем хранит записанное</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Verify: the modem holds other values for %1</source>
        <translation>Проверка: модем хранит другие значения %1</translation>
    </message>
</context>
<context>
    <name>HistoryPage</name>
    <message>
        <location filename="../src/app/historypage.ui" line="+9"/>
        <source>History of Writes</source>
        <translation>История записей</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>HHistory</source>
        <translation>История записей в модемы с этого компьютера: когда, куда,
что изменилось и чем закончилось. Для выбранной записи
можно загрузить то, что модем хранил до неё, или то, что записано.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Connection</source>
        <translation>Подключение</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Own phone number</source>
        <translation>Свой номер</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Outcome</source>
        <translation>Итог</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Changed settings</source>
        <translation>Изменённые настройки</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>No Writes yet. Each Write to a modem, from this window, the command-line tool or the station, is kept here with what the modem held before it, so that it can be put back.</source>
        <translation>Записей пока нет. Каждая запись в модем — из этого окна, из программы командной строки или со станции — сохраняется здесь вместе с тем, что модем хранил до неё, чтобы это можно было вернуть.</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>HLoad previous</source>
        <translation>Загрузить в форму настройки, которые модем хранил до этой записи.
Запись их вернёт модему байт в байт.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Load &amp;previous</source>
        <translation>Загрузить &amp;прежние</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HLoad written</source>
        <translation>Загрузить в форму настройки, записанные в модем этой записью.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Load &amp;written</source>
        <translation>Загрузить &amp;записанные</translation>
    </message>
    <message>
        <location filename="../src/app/historypage.cpp" line="+46"/>
        <source>Journal: %1</source>
        <translation>История записей: %1</translation>
    </message>
    <message>
        <location line="+58"/>
        <source>written</source>
        <translation>записано</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>verified</source>
        <translation>записано и проверено</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>unfinished</source>
        <translation>не завершено</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>failed at the settings block</source>
        <translation>сбой на блоке настроек</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>failed at entry block %1</source>
        <translation>сбой на блоке номеров %1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>failed</source>
        <translation>сбой</translation>
    </message>
</context>
<context>
    <name>JobWords</name>
    <message>
        <location filename="../src/app/jobwords.cpp" line="+31"/>
        <source>%1, while writing block %2 of %3</source>
        <translation>%1, при записи блока %2 из %3</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The default port did not open</source>
        <translation>Порт по умолчанию не открылся</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The port %1 did not open</source>
        <translation>Порт %1 не открылся</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Reading the modem through %1…</source>
        <translation>Чтение модема через %1…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Writing to the modem through %1…</source>
        <translation>Запись в модем через %1…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 is open</source>
        <translation>%1 открыт</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Unknown job %1</source>
        <translation>Неизвестное задание %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>No answer from the modem</source>
        <translation>Модем не ответил</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>The modem&apos;s answer broke off after %n byte(s)</source>
        <translation><numerusform>Ответ модема оборвался после %n байта</numerusform><numerusform>Ответ модема оборвался после %n байтов</numerusform><numerusform>Ответ модема оборвался после %n байтов</numerusform></translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>An answer of %n byte(s) came damaged: its check sum is wrong</source>
        <translation><numerusform>Ответ из %n байта пришёл искажённым: неверная контрольная сумма</numerusform><numerusform>Ответ из %n байтов пришёл искажённым: неверная контрольная сумма</numerusform><numerusform>Ответ из %n байтов пришёл искажённым: неверная контрольная сумма</numerusform></translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+3"/>
        <source>Reading: block %1 of %2 is in…</source>
        <translation>Чтение: получен блок %1 из %2…</translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>Read: all %1 settings, %n answer(s) in %2 s</source>
        <translation><numerusform>Прочитано: все %1 настроек, %n ответ за %2 с</numerusform><numerusform>Прочитано: все %1 настроек, %n ответа за %2 с</numerusform><numerusform>Прочитано: все %1 настроек, %n ответов за %2 с</numerusform></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Read: all %1 settings</source>
        <translation>Прочитано: все %1 настроек</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Writing: %1% done…</source>
        <translation>Запись: выполнено %1%…</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Written: the modem took every block, in %1 s</source>
        <translation>Записано: модем принял все блоки, за %1 с</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Written: the modem took every block</source>
        <translation>Записано: модем принял все блоки</translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>%n byte(s) came that no request asked for, so the request was not sent</source>
        <translation><numerusform>Пришёл %n байт, которого не запрашивали, поэтому запрос не отправлен</numerusform><numerusform>Пришло %n байта, которых не запрашивали, поэтому запрос не отправлен</numerusform><numerusform>Пришло %n байтов, которых не запрашивали, поэтому запрос не отправлен</numerusform></translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>%n byte(s) came where one answer of %1 was due</source>
        <translation><numerusform>Пришёл %n байт вместо одного ответа из %1</numerusform><numerusform>Пришло %n байта вместо одного ответа из %1</numerusform><numerusform>Пришло %n байтов вместо одного ответа из %1</numerusform></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The modem refused the request: Modbus exception %1, %2</source>
        <translation>Модем отклонил запрос: исключение Modbus %1, %2</translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>An answer of %n byte(s) came that does not fit the request</source>
        <translation><numerusform>Пришёл ответ из %n байта, не подходящий к запросу</numerusform><numerusform>Пришёл ответ из %n байтов, не подходящий к запросу</numerusform><numerusform>Пришёл ответ из %n байтов, не подходящий к запросу</numerusform></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../src/app/mainwindow.cpp" line="+237"/>
        <source>Stop the station?</source>
        <translation>Остановить станцию?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The station is provisioning modems. Stop it and close the window? Each port finishes the modem it is writing first.</source>
        <translation>Станция настраивает модемы. Остановить её и закрыть окно? Каждый порт сначала закончит модем, который записывает.</translation>
    </message>
    <message>
        <location filename="../src/app/mainwindow.ui" line="+18"/>
        <location filename="../src/app/mainwindow.cpp" line="+81"/>
        <source>GPRS configurator</source>
        <translation>Конфигуратор GPRS</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Connection</source>
        <translation>Подключение</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HConnection</source>
        <translation>Как связаться с модемом: dev=ПОРТ;baud=СКОРОСТЬ, например
dev=COM3;baud=9600 в Windows или dev=/dev/ttyUSB0;baud=9600
в Linux. Линия: 8 бит данных, без чётности, 1 стоп-бит;
без части baud скорость 9600, без части dev
пробуется порт \\.\COM1.
Через сервер последовательных портов:
dev=tcp://ХОСТ:ПОРТ (кадры модема как есть),
dev=modbustcp://ХОСТ:ПОРТ (шлюз Modbus TCP, без порта — 502),
dev=rfc2217://ХОСТ:ПОРТ;baud=9600 (линию сервера задаёт
эта программа) или dev=rtuoverudp://ХОСТ:ПОРТ.
Alt+↓ — список портов, скоростей, прошлых подключений
и «Найти модем».</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Apn server</source>
        <translation>Сервер APN</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HApn server</source>
        <translation>Имя точки доступа (APN) сотового оператора,
например internet.mts.ru; до 32 латинских символов.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Apn login</source>
        <translation>Логин APN</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HApn login</source>
        <translation>Имя пользователя точки доступа APN,
до 14 латинских символов; пусто, если не нужно.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Apn password</source>
        <translation>Пароль APN</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HApn password</source>
        <translation>Пароль точки доступа APN, до 14 латинских символов;
показывается открытым текстом.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Baud Tx</source>
        <translation>Линия Tx</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HBaud Tx</source>
        <translation>Параметры последовательной линии Tx модема:
шесть частей через запятую —
скорость,биты данных,стоп-биты,чётность,флаг 1,флаг 2.
Скорость: 300, 600, 1200, 2400, 4800, 9600, 14400,
19200, 38400, 57600, 76800 или 115200.
Биты данных: 5, 6, 7 или 8.
Стоп-биты: 1 или 2.
Чётность: N — нет, E — чётная, O — нечётная,
S — всегда 0, M — всегда 1.
Флаги: 0 или 1.
Пример: 9600,8,1,N,0,0</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Baud Rx</source>
        <translation>Линия Rx</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HBaud Rx</source>
        <translation>Параметры последовательной линии Rx модема:
шесть частей через запятую —
скорость,биты данных,стоп-биты,чётность,флаг 1,флаг 2.
Скорость: 300, 600, 1200, 2400, 4800, 9600, 14400,
19200, 38400, 57600, 76800 или 115200.
Биты данных: 5, 6, 7 или 8.
Стоп-биты: 1 или 2.
Чётность: N — нет, E — чётная, O — нечётная,
S — всегда 0, M — всегда 1.
Флаги: 0 или 1.
Пример: 9600,8,1,N,0,0</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HTimeout answer</source>
        <translation>Время ожидания ответа, в миллисекундах.
Модем хранит его в десятках миллисекунд, поэтому
значение кратно 10: от 0 до 655350. Пример: 3000</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Timeout next</source>
        <translation>Ожидание пакета</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HTimeout next</source>
        <translation>Время ожидания следующего пакета, в миллисекундах.
Модем хранит его в десятках миллисекунд, поэтому
значение кратно 10: от 0 до 655350. Пример: 1000</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Trying number</source>
        <translation>Число попыток</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HTrying number</source>
        <translation>Сколько раз модем повторяет попытку,
целое число от 0 до 65535. Пример: 3</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Timeout between</source>
        <translation>Пауза между байтами</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HTimeout between</source>
        <translation>Наибольшая пауза между байтами одного пакета, в миллисекундах.
Модем хранит её в десятках миллисекунд, поэтому
значение кратно 10: от 0 до 655350. Пример: 50</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Timeout answer</source>
        <translation>Ожидание ответа</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>HLoad</source>
        <translation>Загрузить настройки из XML-файла, выбранного в диалоге.
Настройки, которых нет в файле, не меняются.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Load</source>
        <translation>&amp;Открыть</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HRead</source>
        <translation>Прочитать все настройки из модема в эту форму и в окно
«Ещё настройки» через порт из поля «Подключение».
Ход и итог обмена видны в строке состояния.</translation>
    </message>
    <message>
        <location line="+3"/>
        <location filename="../src/app/mainwindow.cpp" line="-23"/>
        <source>&amp;Read</source>
        <translation>&amp;Прочитать</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HWrite</source>
        <translation>Записать настройки этой формы и окна «Ещё настройки»
в модем через порт из поля «Подключение».
Каждая запись остаётся в истории записей.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Write</source>
        <translation>&amp;Записать</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HSave </source>
        <translation>Сохранить все настройки, в том числе из окна
«Ещё настройки», в XML-файл, выбранный в диалоге.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Save</source>
        <translation>&amp;Сохранить</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>HKeep Connection</source>
        <translation>Модем постоянно держит соединение.
Читается и записывается, только если включён
флажок «Есть регистр связи»; иначе его не включить.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Keep Connection</source>
        <translation>Держать связь</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HEnable Keep Connection</source>
        <translation>Включите для прошивки модема с регистром 70
(удержание связи): тогда «Прочитать» и «Записать»
передают блок настроек из 71 регистра вместо 70,
и с ним флажок «Держать связь».
Для прошивки без этого регистра оставьте выключенным.</translation>
    </message>
    <message>
        <location line="+3"/>
        <location filename="../src/app/mainwindow.cpp" line="+275"/>
        <source>Enable Keep Connection</source>
        <translation>Есть регистр связи</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Phone number</source>
        <translation>Номер телефона</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Phone number 1</source>
        <translation>Номер телефона 1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HPhone number 1</source>
        <translation>Телефонный номер 1, например +79161234567,
до 20 символов. Стоит в одной строке
с сервером-зеркалом 1 и его портом.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Phone number 2</source>
        <translation>Номер телефона 2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HPhone number 2</source>
        <translation>Телефонный номер 2, например +79161234567,
до 20 символов. Стоит в одной строке
с сервером-зеркалом 2 и его портом.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Phone number 3</source>
        <translation>Номер телефона 3</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HPhone number 3</source>
        <translation>Телефонный номер 3, например +79161234567,
до 20 символов. Стоит в одной строке
с сервером-зеркалом 3 и его портом.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Phone number 4</source>
        <translation>Номер телефона 4</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HPhone number 4</source>
        <translation>Телефонный номер 4, например +79161234567,
до 20 символов. Стоит в одной строке
с сервером-зеркалом 4 и его портом.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Mirror server</source>
        <translation>Сервер-зеркало</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror server 1</source>
        <translation>Сервер-зеркало 1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror server 1</source>
        <translation>IPv4-адрес сервера-зеркала 1: четыре числа
от 0 до 255 через точку, например 192.168.1.10;
0.0.0.0 — нет сервера.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror server 2</source>
        <translation>Сервер-зеркало 2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror server 2</source>
        <translation>IPv4-адрес сервера-зеркала 2: четыре числа
от 0 до 255 через точку, например 192.168.1.10;
0.0.0.0 — нет сервера.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror server 3</source>
        <translation>Сервер-зеркало 3</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror server 3</source>
        <translation>IPv4-адрес сервера-зеркала 3: четыре числа
от 0 до 255 через точку, например 192.168.1.10;
0.0.0.0 — нет сервера.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror server 4</source>
        <translation>Сервер-зеркало 4</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror server 4</source>
        <translation>IPv4-адрес сервера-зеркала 4: четыре числа
от 0 до 255 через точку, например 192.168.1.10;
0.0.0.0 — нет сервера.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Mirror port</source>
        <translation>Порт зеркала</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror port 1</source>
        <translation>Порт зеркала 1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror port 1</source>
        <translation>Порт сервера-зеркала 1, целое число от 0 до 65535,
например 5020; 0 — нет порта.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror port 2</source>
        <translation>Порт зеркала 2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror port 2</source>
        <translation>Порт сервера-зеркала 2, целое число от 0 до 65535,
например 5020; 0 — нет порта.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror port 3</source>
        <translation>Порт зеркала 3</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror port 3</source>
        <translation>Порт сервера-зеркала 3, целое число от 0 до 65535,
например 5020; 0 — нет порта.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror port 4</source>
        <translation>Порт зеркала 4</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror port 4</source>
        <translation>Порт сервера-зеркала 4, целое число от 0 до 65535,
например 5020; 0 — нет порта.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>HTraffic</source>
        <translation>Обмен с модемом: каждый отправленный и принятый кадр
с временем, байтами и пояснением, начало и итог каждой операции.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Traffic…</source>
        <translation>О&amp;бмен…</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>HHistory</source>
        <translation>История записей в модемы с этого компьютера: когда, куда,
что изменилось и чем закончилось. Для выбранной записи
можно загрузить то, что модем хранил до неё, или то, что записано.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;History…</source>
        <translation>&amp;История…</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>A fleet: a template and a table written to modems on every port at once (Alt+P)</source>
        <translation>Партия модемов: шаблон и таблица записываются в модемы на всех портах сразу (Alt+Т)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Station…</source>
        <translation>Станция…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Alt+P</source>
        <translation>Alt+Т</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>HMore settings</source>
        <translation>Настройки модема, которых нет в этой форме:
свой номер, номера SMS-центра и для SMS, IP-адрес,
DNS, адрес Modbus, времена перезапуска и счётчики.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;More settings…</source>
        <translation>&amp;Ещё…</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>About GPRS configurator (F1)</source>
        <translation>О программе «Конфигуратор GPRS» (F1)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>About GPRS configurator</source>
        <translation>О программе «Конфигуратор GPRS»</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>?</source>
        <translation>?</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <location filename="../src/app/mainwindow.cpp" line="-319"/>
        <source>Finishing the Write before closing…</source>
        <translation>Запись завершается; окно закроется после неё…</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>A job is still running, so this one was not started: try again when it ends</source>
        <translation>Ещё идёт обмен с модемом, поэтому этот не начат: повторите, когда он закончится</translation>
    </message>
    <message>
        <location line="+105"/>
        <source>The log cannot be written in %1: %2. The window works on without it</source>
        <translation>Журнал работы нельзя записать в %1: %2. Окно работает и без него</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>There is not the update files</source>
        <translation>Нет списка файлов для загрузки в модем</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Nothing was written. Read the modem first, or load a complete settings file. Still unknown: %1</source>
        <translation>Ничего не записано. Сначала прочитайте модем или загрузите полный файл настроек. Ещё неизвестны: %1</translation>
    </message>
    <message>
        <location line="+149"/>
        <source>Open Config file</source>
        <translation>Открыть файл настроек</translation>
    </message>
    <message>
        <location line="-125"/>
        <location line="+125"/>
        <source>Xml Files (*.xml)</source>
        <translation>Файлы XML (*.xml)</translation>
    </message>
    <message>
        <location line="-297"/>
        <source>Stop (Esc)</source>
        <translation>Стоп (Esc)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Stopping…</source>
        <translation>Остановка…</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>%1 — the values shown were not read from this modem</source>
        <translation>%1 — показаны значения, прочитанные не из этого модема</translation>
    </message>
    <message>
        <location line="+148"/>
        <source>Save Config file</source>
        <translation>Сохранить файл настроек</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>The configuration file was not saved: %1</source>
        <translation>Файл конфигурации не сохранён: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Saved %1 without the settings still unknown: %2</source>
        <translation>Сохранено в %1 без ещё неизвестных настроек: %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Saved %1</source>
        <translation>Сохранено в %1</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Finishing the Write before closing… %1</source>
        <translation>Запись завершается; окно закроется после неё… %1</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Stopped: nothing was changed</source>
        <translation>Остановлено: ничего не изменено</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Nothing was received: check the cable, the port and its baud rate, and that the modem is powered; for firmware without the keep-connection register clear &quot;%1&quot;</source>
        <translation>Ничего не получено: проверьте кабель, порт и его скорость, и что модем включён; для прошивки без регистра удержания связи снимите флажок «%1»</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Nothing was received through the server: check its serial side (its baud rate and the line to the modem), and for firmware without the keep-connection register clear &quot;%1&quot;; Detect modem finds the framing the server speaks</source>
        <translation>Через сервер ничего не получено: проверьте его последовательную сторону (скорость и линию до модема), а для прошивки без регистра удержания связи снимите флажок «%1»; «Найти модем» определит, какой протокол у сервера</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The modem may lack the keep-connection register: clear &quot;%1&quot; and try again</source>
        <translation>Возможно, в модеме нет регистра удержания связи: снимите флажок «%1» и повторите</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>No file was chosen: nothing was loaded</source>
        <translation>Файл не выбран: ничего не загружено</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No %1 here: the form starts empty</source>
        <translation>Нет %1 в рабочей папке: форма пуста</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The settings file %1 was not opened: %2</source>
        <translation>Файл настроек %1 не открылся: %2</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The configuration file is damaged at line %1: %2</source>
        <translation>Файл конфигурации повреждён в строке %1: %2</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Nothing was loaded: %1 holds none of the settings</source>
        <translation>Ничего не загружено: в %1 нет ни одной настройки</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nothing was loaded: %1 holds none of the settings, only: %2</source>
        <translation>Ничего не загружено: в %1 нет ни одной настройки, есть только: %2</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Loaded %1, ignoring what is not a setting: %2</source>
        <translation>Загружено из %1; пропущено то, что не является настройкой: %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Loaded %1</source>
        <translation>Загружено из %1</translation>
    </message>
    <message>
        <location line="-37"/>
        <source>There is not the configaration file</source>
        <translation>Файл настроек не открывается</translation>
    </message>
</context>
<context>
    <name>ModemDetector</name>
    <message>
        <location filename="../src/worker/modemdetector.cpp" line="+84"/>
        <location line="+22"/>
        <location line="+30"/>
        <source>The Port %1 was not open. %2</source>
        <translation>Порт %1 не открылся. %2</translation>
    </message>
    <message>
        <location line="-55"/>
        <location line="+46"/>
        <source>Trying %1</source>
        <translation>Пробую %1</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>%1: the server speaks %2</source>
        <translation>%1: сервер работает по протоколу %2</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1: the server closed the connection</source>
        <translation>%1: сервер закрыл соединение</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1: no answer</source>
        <translation>%1: нет ответа</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>The modem answers on %1</source>
        <translation>Модем отвечает на %1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>No modem answered: this machine has no serial ports</source>
        <translation>Модем не ответил: на этом компьютере нет последовательных портов</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No modem answered behind %1: check the server&apos;s serial side (its baud rate and the line to the modem)</source>
        <translation>За сервером %1 модем не ответил: проверьте последовательную сторону сервера (скорость и линию до модема)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>No modem answered on %1</source>
        <translation>Модем не ответил ни на одном порту: %1</translation>
    </message>
</context>
<context>
    <name>ModemJob</name>
    <message>
        <location filename="../src/worker/modemjob.cpp" line="+30"/>
        <source>Job</source>
        <translation>Задание</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Read</source>
        <translation>Чтение</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Write</source>
        <translation>Запись</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Upload</source>
        <translation>Загрузка</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Detect modem</source>
        <translation>Поиск модема</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>stopped</source>
        <translation>остановлено</translation>
    </message>
</context>
<context>
    <name>MoreSettingsDialog</name>
    <message>
        <location filename="../src/app/moresettingsdialog.ui" line="+9"/>
        <source>More settings</source>
        <translation>Ещё настройки</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Own phone number</source>
        <translation>Свой номер</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HOwn phone number</source>
        <translation>Телефонный номер SIM-карты модема,
например +79161234567, до 14 символов.</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+20"/>
        <location line="+20"/>
        <location line="+20"/>
        <location line="+20"/>
        <location line="+20"/>
        <location line="+20"/>
        <location line="+20"/>
        <location line="+20"/>
        <location line="+20"/>
        <location line="+20"/>
        <location line="+20"/>
        <location line="+20"/>
        <source>unknown: Read or Load first</source>
        <translation>неизвестно: прочитайте модем</translation>
    </message>
    <message>
        <location line="-233"/>
        <source>SMS centre number</source>
        <translation>Номер SMS-центра</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HSMS centre number</source>
        <translation>Номер SMS-центра оператора,
например +79037011111, до 14 символов.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>SMS phone number</source>
        <translation>Номер для SMS</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HSMS phone number</source>
        <translation>Номер, на который модем отправляет SMS,
например +79169876543, до 14 символов.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>IP address</source>
        <translation>IP-адрес</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HIP address</source>
        <translation>IPv4-адрес модема: четыре числа от 0 до 255
через точку, например 10.0.0.2; 0.0.0.0 — нет адреса.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>DNS 1</source>
        <translation>DNS-сервер 1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HDNS 1</source>
        <translation>Основной DNS-сервер: IPv4-адрес,
например 8.8.8.8; 0.0.0.0 — нет сервера.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>DNS 2</source>
        <translation>DNS-сервер 2</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HDNS 2</source>
        <translation>Запасной DNS-сервер: IPv4-адрес,
например 8.8.4.4; 0.0.0.0 — нет сервера.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Modbus address</source>
        <translation>Адрес Modbus</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HModbus address</source>
        <translation>Адрес модема в сети Modbus,
целое число от 0 до 65535. Пример: 1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Timeout wait next</source>
        <translation>Ожидание следующего</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HTimeout wait next</source>
        <translation>Время ожидания следующего обмена, в миллисекундах.
Модем хранит его в десятках миллисекунд, поэтому
значение кратно 10: от 0 до 655350. Пример: 1000</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Server restart time</source>
        <translation>Перезапуск сервера</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HServer restart time</source>
        <translation>Через сколько модем перезапускает соединение
с сервером, в единицах модема: от 0 до 65535. Пример: 600</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Modem restart time</source>
        <translation>Перезапуск модема</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HModem restart time</source>
        <translation>Через сколько модем перезапускается,
в единицах модема: от 0 до 65535. Пример: 3600</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Disconnect time</source>
        <translation>Время разъединения</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HDisconnect time</source>
        <translation>Через сколько модем разрывает неактивное
соединение, в единицах модема: от 0 до 65535. Пример: 300</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Max number of bytes</source>
        <translation>Наибольшее число байт</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HMax number of bytes</source>
        <translation>Наибольшее число байт в одном пакете,
от 0 до 65535. Пример: 1024</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Answers number</source>
        <translation>Число ответов</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HAnswers number</source>
        <translation>Сколько ответов ждёт модем,
от 0 до 65535. Пример: 1</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>&amp;Close</source>
        <translation>&amp;Закрыть</translation>
    </message>
</context>
<context>
    <name>NetworkAddress</name>
    <message>
        <location filename="../src/link/networkaddress.cpp" line="+43"/>
        <source>The host %1 is not known: check its name, or give its IP address.</source>
        <translation>Узел %1 неизвестен: проверьте имя или укажите его IP-адрес.</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>The name %1 could not be looked up within %2 s: check the network, or give the server&apos;s IP address.</source>
        <translation>Имя %1 не удалось разрешить за %2 с: проверьте сеть или укажите IP-адрес сервера.</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>&quot;%1&quot; is not a server&apos;s address: it starts with tcp://, modbustcp://, rfc2217:// or rtuoverudp://</source>
        <translation>«%1» — не адрес сервера: он начинается с tcp://, modbustcp://, rfc2217:// или rtuoverudp://</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>&quot;%1&quot; is not a server&apos;s address: it takes %2://[IPv6 ADDRESS]:PORT</source>
        <translation>«%1» — не адрес сервера: нужно %2://[АДРЕС IPv6]:ПОРТ</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>&quot;%1&quot; is not a server&apos;s address: an IPv6 address goes in brackets, %2://[ADDRESS]:PORT</source>
        <translation>«%1» — не адрес сервера: адрес IPv6 пишется в скобках, %2://[АДРЕС]:ПОРТ</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>&quot;%1&quot; is not a server&apos;s address: it takes %2://HOST:PORT, a port from 1 to 65535</source>
        <translation>«%1» — не адрес сервера: нужно %2://УЗЕЛ:ПОРТ, порт от 1 до 65535</translation>
    </message>
    <message>
        <location line="+68"/>
        <source>%1 refused the connection: check the server&apos;s TCP port, and that no other program holds its connection.</source>
        <translation>%1 отказал в соединении: проверьте порт TCP сервера и что его соединение не занято другой программой.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 did not take the connection within %2 s: check the address and the network.</source>
        <translation>%1 не принял соединение за %2 с: проверьте адрес и сеть.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 cannot be reached: %2.</source>
        <translation>%1 недоступен: %2.</translation>
    </message>
    <message>
        <location filename="../src/link/doorrecognition.cpp" line="+52"/>
        <source>Modbus RTU over TCP</source>
        <translation>Modbus RTU поверх TCP</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Modbus TCP</source>
        <translation>Modbus TCP</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>RFC 2217 (telnet)</source>
        <translation>RFC 2217 (telnet)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Modbus RTU over UDP</source>
        <translation>Modbus RTU поверх UDP</translation>
    </message>
</context>
<context>
    <name>PortPicker</name>
    <message>
        <location filename="../src/app/portpicker.cpp" line="+30"/>
        <source>Choose the port and the baud rate</source>
        <translation>Выбрать порт и скорость</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ports, baud rates and detection of the modem (Alt+Down)</source>
        <translation>Порты, скорости и поиск модема (Alt+Вниз)</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Last connections that worked</source>
        <translation>Последние рабочие подключения</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Serial ports</source>
        <translation>Последовательные порты</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>No serial ports found</source>
        <translation>Последовательных портов нет</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Baud rate</source>
        <translation>Скорость</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Detect modem</source>
        <translation>Найти модем</translation>
    </message>
</context>
<context>
    <name>PrivateFiles</name>
    <message>
        <location filename="../src/files/privatefiles.cpp" line="+60"/>
        <location line="+21"/>
        <source>%1 is not a file</source>
        <translation>%1 — не файл</translation>
    </message>
    <message>
        <location line="-7"/>
        <source>%1 is a link, not a file</source>
        <translation>%1 — ссылка, а не файл</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>%1 is larger than %2 bytes</source>
        <translation>%1 больше %2 байт</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>%1 exists already</source>
        <translation>%1 уже существует</translation>
    </message>
</context>
<context>
    <name>ProvisionReport</name>
    <message>
        <location filename="../src/files/provisionreport.cpp" line="+22"/>
        <source>verified</source>
        <translation>проверено</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>failed</source>
        <translation>ошибка</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>no row matched</source>
        <translation>нет подходящей строки</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>no row left</source>
        <translation>строк не осталось</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>holds a verified row</source>
        <translation>уже хранит проверенную строку</translation>
    </message>
</context>
<context>
    <name>ProvisionTable</name>
    <message>
        <location filename="../src/files/provisiontable.cpp" line="+28"/>
        <location line="+55"/>
        <source>line %1: %2</source>
        <translation>строка %1: %2</translation>
    </message>
    <message>
        <location line="-51"/>
        <source>the table is empty: its first line names the settings, one column each</source>
        <translation>таблица пуста: её первая строка называет настройки, по столбцу на каждую</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>line %1: column %2 is named twice</source>
        <translation>строка %1: столбец %2 назван дважды</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>line %1: %2 is not a setting of the modem (a column is a settings key, or id)</source>
        <translation>строка %1: %2 — не настройка модема (столбец — это ключ настройки или id)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>line %1: --match %2 names no column of the table</source>
        <translation>строка %1: в таблице нет столбца %2 для сопоставления</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>line %1: %2 cells, but the header names %3 columns</source>
        <translation>строка %1: ячеек %2, а в заголовке столбцов %3</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>line %1: the id is empty</source>
        <translation>строка %1: id пуст</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>line %1: the id %2 is on line %3 too</source>
        <translation>строка %1: id %2 есть и в строке %3</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>line %1: %2 is empty, so no modem can match the row</source>
        <translation>строка %1: %2 пусто, поэтому ни один модем не подойдёт к строке</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>line %1: %2 %3 is on line %4 too</source>
        <translation>строка %1: %2 %3 есть и в строке %4</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>the table has no rows below its header</source>
        <translation>в таблице нет строк под заголовком</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>the table cannot be read: %1</source>
        <translation>таблицу нельзя прочитать: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>the table is larger than %1 bytes</source>
        <translation>таблица больше %1 байт</translation>
    </message>
</context>
<context>
    <name>SerialLink</name>
    <message>
        <location filename="../src/link/connectiontext.cpp" line="+74"/>
        <source>The connection &quot;%1&quot; names no server: %2</source>
        <translation>Подключение «%1» не называет сервер: %2</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The connection &quot;%1&quot; has no baud rate: &quot;%2&quot; is not a rate such as 9600</source>
        <translation>В подключении «%1» нет скорости: «%2» — не скорость вроде 9600</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The connection &quot;%1&quot; has an unknown part &quot;%2&quot;; it takes dev=PORT;baud=RATE</source>
        <translation>В подключении «%1» неизвестная часть «%2»; допустимо dev=ПОРТ;baud=СКОРОСТЬ</translation>
    </message>
    <message>
        <location filename="../src/link/serialcarrier.cpp" line="+25"/>
        <source>The connection has no dev part, so the default port %1 was tried. %2</source>
        <translation>В подключении нет части dev, поэтому опробован порт по умолчанию %1. %2</translation>
    </message>
    <message>
        <location filename="../src/link/rfc2217carrier.cpp" line="+167"/>
        <source>%1 does not let its serial port be set (it refuses RFC 2217&apos;s COM-PORT-OPTION): turn RFC 2217 on for that port, or set the port&apos;s rate in the server and connect with tcp://%1.</source>
        <translation>%1 не даёт настроить свой последовательный порт (отказывается от COM-PORT-OPTION из RFC 2217): включите RFC 2217 для этого порта или задайте скорость порта на сервере и подключайтесь через tcp://%1.</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>%1 set its serial port to %2 baud instead of %3: the port does not take that rate; choose a rate that both the port and the modem take.</source>
        <translation>%1 установил на своём последовательном порту скорость %2 бод вместо %3: порт не принимает эту скорость; выберите скорость, которую принимают и порт, и модем.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1 did not set its serial port to %2 baud, 8 data bits, no parity and 1 stop bit, as the modem&apos;s frames need: check the port&apos;s settings in the server.</source>
        <translation>%1 не установил на своём последовательном порту %2 бод, 8 бит данных, без чётности и 1 стоповый бит, как нужно кадрам модема: проверьте настройки порта на сервере.</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>%1 did not answer the settings of its serial port within %2 s: check that it is an RFC 2217 server.</source>
        <translation>%1 не ответил на настройки своего последовательного порта за %2 с: проверьте, что это сервер RFC 2217.</translation>
    </message>
    <message>
        <location filename="../src/link/tcpcarrier.cpp" line="+43"/>
        <source>%1 closed the connection: check that no other program took it over, and try again</source>
        <translation>%1 закрыл соединение: проверьте, не заняла ли его другая программа, и повторите</translation>
    </message>
    <message>
        <location filename="../src/link/serialcarrier.cpp" line="+51"/>
        <source>The port stopped working: check that the adapter is still plugged in</source>
        <translation>Порт перестал работать: проверьте, подключён ли адаптер</translation>
    </message>
</context>
<context>
    <name>SerialPorts</name>
    <message>
        <location filename="../src/link/serialports.cpp" line="+34"/>
        <source>serial %1</source>
        <translation>серийный номер %1</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>The connection names no port: it takes dev=PORT.</source>
        <translation>В подключении не указан порт: нужно dev=ПОРТ.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>There is no such port, and this machine has none.</source>
        <translation>Такого порта нет, и других портов на этом компьютере тоже нет.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>There is no such port; this machine has %1.</source>
        <translation>Такого порта нет; на этом компьютере есть %1.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Access to it is denied: another program holds it; close that program.</source>
        <translation>Доступ к нему запрещён: его занимает другая программа; закройте её.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Access to it is denied: add the user to the dialout group and log in again.</source>
        <translation>Доступ к нему запрещён: добавьте пользователя в группу dialout и войдите в систему заново.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>It is busy: another program holds it; close that program.</source>
        <translation>Он занят: его держит другая программа; закройте её.</translation>
    </message>
</context>
<context>
    <name>SettingLabel</name>
    <message>
        <location filename="../src/settings/registerlayout.cpp" line="+17"/>
        <source>Apn server</source>
        <translation>Сервер APN</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Apn login</source>
        <translation>Логин APN</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Apn password</source>
        <translation>Пароль APN</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Own phone number</source>
        <translation>Свой номер</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>SMS centre number</source>
        <translation>Номер SMS-центра</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>SMS phone number</source>
        <translation>Номер для SMS</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>IP address</source>
        <translation>IP-адрес</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>DNS 1</source>
        <translation>DNS-сервер 1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>DNS 2</source>
        <translation>DNS-сервер 2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Modbus address</source>
        <translation>Адрес Modbus</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Baud Tx</source>
        <translation>Линия Tx</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Baud Rx</source>
        <translation>Линия Rx</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Timeout wait next</source>
        <translation>Ожидание следующего</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Timeout answer</source>
        <translation>Ожидание ответа</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Server restart time</source>
        <translation>Перезапуск сервера</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Modem restart time</source>
        <translation>Перезапуск модема</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Disconnect time</source>
        <translation>Время разъединения</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Timeout next</source>
        <translation>Ожидание пакета</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Timeout between</source>
        <translation>Пауза между байтами</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Max number of bytes</source>
        <translation>Наибольшее число байт</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Trying number</source>
        <translation>Число попыток</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Answers number</source>
        <translation>Число ответов</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep Connection</source>
        <translation>Держать связь</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+1"/>
        <location line="+1"/>
        <location line="+1"/>
        <source>Phone number %1</source>
        <translation>Номер телефона %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+1"/>
        <location line="+1"/>
        <location line="+1"/>
        <source>Mirror server %1</source>
        <translation>Сервер-зеркало %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+1"/>
        <location line="+1"/>
        <location line="+1"/>
        <source>Mirror port %1</source>
        <translation>Порт зеркала %1</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <location filename="../src/files/filesupport.cpp" line="+63"/>
        <source>The document has more than %1 elements; a settings file has about 40.</source>
        <translation>В документе больше %1 элементов; в файле настроек их около 40.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>An element has more than %1 attributes; a setting has one or two.</source>
        <translation>У элемента больше %1 атрибутов; у настройки их один или два.</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>No file name given.</source>
        <translation>Имя файла не задано.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>&quot;%1&quot; is a folder, not a file.</source>
        <translation>«%1» — папка, а не файл.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The folder &quot;%1&quot; does not exist.</source>
        <translation>Папки «%1» нет.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&quot;%1&quot; may not be written by this user.</source>
        <translation>Этому пользователю нельзя записывать «%1».</translation>
    </message>
    <message>
        <location line="-13"/>
        <source>&quot;%1&quot; cannot be opened: %2</source>
        <translation>«%1» не открывается: %2</translation>
    </message>
    <message>
        <location filename="../src/files/settingsfile.cpp" line="+78"/>
        <source>The document has a DOCTYPE declaration, which a settings file never has.</source>
        <translation>В документе есть объявление DOCTYPE, которого в файле настроек не бывает.</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>&quot;%1&quot; could not be written: %2</source>
        <translation>Не удалось записать «%1»: %2</translation>
    </message>
    <message>
        <location filename="../src/app/commissioningrecord.cpp" line="+36"/>
        <location filename="../src/files/settingsfile.cpp" line="+6"/>
        <source>&quot;%1&quot; could not be saved: %2</source>
        <translation>Не удалось сохранить «%1»: %2</translation>
    </message>
    <message>
        <location filename="../src/files/settingsfile.cpp" line="+12"/>
        <source>The document is not open for reading.</source>
        <translation>Документ не открыт для чтения.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The document goes on beyond %1 bytes; a settings file is a few kilobytes.</source>
        <translation>Документ длиннее %1 байт, а файл настроек занимает несколько килобайт.</translation>
    </message>
    <message>
        <location line="+63"/>
        <source>&lt;%1&gt; starts on this line and is never closed (noticed at line %2: %3)</source>
        <translation>&lt;%1&gt; начинается в этой строке и нигде не закрыт (замечено в строке %2: %3)</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/files/settingsvalues.cpp" line="+75"/>
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 и ещё %n</numerusform>
            <numerusform>%1 и ещё %n</numerusform>
            <numerusform>%1 и ещё %n</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StationModel</name>
    <message>
        <location filename="../src/app/stationmodel.cpp" line="+137"/>
        <source>Id</source>
        <translation>Код</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Line</source>
        <translation>Строка</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Port</source>
        <translation>Порт</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>State</source>
        <translation>Состояние</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Changed</source>
        <translation>Изменено</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Message</source>
        <translation>Сообщение</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>waiting</source>
        <translation>ожидает</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>reading</source>
        <translation>чтение</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>writing block %1</source>
        <translation>запись блока %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>verifying</source>
        <translation>проверка</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>verified</source>
        <translation>проверено</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>verified earlier</source>
        <translation>проверено ранее</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>failed</source>
        <translation>ошибка</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>no row matched</source>
        <translation>нет подходящей строки</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>no row left</source>
        <translation>строк не осталось</translation>
    </message>
</context>
<context>
    <name>StationPage</name>
    <message>
        <location filename="../src/app/stationpage.ui" line="+14"/>
        <source>Station</source>
        <translation>Станция</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>&amp;Template</source>
        <translation>&amp;Шаблон</translation>
    </message>
    <message>
        <location line="+15"/>
        <location line="+27"/>
        <location line="+27"/>
        <source>…</source>
        <translation>…</translation>
    </message>
    <message>
        <location line="-51"/>
        <location filename="../src/app/stationpage.cpp" line="+140"/>
        <location line="+22"/>
        <source>Choose the template</source>
        <translation>Выбрать шаблон</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Ta&amp;ble</source>
        <translation>&amp;Таблица</translation>
    </message>
    <message>
        <location line="+18"/>
        <location filename="../src/app/stationpage.cpp" line="-21"/>
        <location line="+26"/>
        <source>Choose the table</source>
        <translation>Выбрать таблицу</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&amp;Report</source>
        <translation>&amp;Отчёт</translation>
    </message>
    <message>
        <location line="+18"/>
        <location filename="../src/app/stationpage.cpp" line="-25"/>
        <location line="+22"/>
        <source>Choose the report</source>
        <translation>Выбрать отчёт</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&amp;Match by</source>
        <translation>&amp;Сопоставлять по</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>&amp;Wait for the next modem</source>
        <translation>&amp;Ждать следующий модем</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>&amp;Ports</source>
        <translation>&amp;Порты</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>A&amp;dd port</source>
        <translation>Д&amp;ругой порт</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>&amp;Add</source>
        <translation>&amp;Добавить</translation>
    </message>
    <message>
        <location line="+13"/>
        <location filename="../src/app/stationpage.cpp" line="-19"/>
        <source>To mend before Start</source>
        <translation>Исправьте до запуска</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Port</source>
        <translation>Порт</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>State</source>
        <translation>Состояние</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Modems done</source>
        <translation>Готово модемов</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>&amp;Start</source>
        <translation>&amp;Запустить</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>St&amp;op</source>
        <translation>Оста&amp;новить</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Re-run &amp;failed</source>
        <translation>Повтор&amp;ить неудачные</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Save re&amp;cord…</source>
        <translation>Сохранить &amp;акт…</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <location filename="../src/app/stationpage.cpp" line="-1"/>
        <source>Ports</source>
        <translation>Порты</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>What each port is doing</source>
        <translation>Что делает каждый порт</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The table&apos;s rows and their state</source>
        <translation>Строки таблицы и их состояние</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Settings files (*.xml)</source>
        <translation>Файлы настроек (*.xml)</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+3"/>
        <source>CSV files (*.csv)</source>
        <translation>Файлы CSV (*.csv)</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>Choose the template: a settings file with every modem&apos;s settings</source>
        <translation>Выберите шаблон: файл настроек со всеми настройками модема</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The template cannot be read: %1</source>
        <translation>Шаблон нельзя прочитать: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The template is damaged at line %1: %2</source>
        <translation>Шаблон повреждён в строке %1: %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Template: %1</source>
        <translation>Шаблон: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Choose the table: a header of settings keys, then a row for each modem</source>
        <translation>Выберите таблицу: заголовок из ключей настроек, затем по строке на модем</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Table: %1</source>
        <translation>Таблица: %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>none: the rows in their order</source>
        <translation>нет: строки по порядку</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>%1 and %2 are one device (%3): tick it once</source>
        <translation>%1 и %2 — одно устройство (%3): отметьте его один раз</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>… and %1 more</source>
        <translation>… и ещё %1</translation>
    </message>
    <message numerus="yes">
        <location line="+76"/>
        <source>Provisioning on %n port(s)…</source>
        <translation>
            <numerusform>Настройка на %n порту…</numerusform>
            <numerusform>Настройка на %n портах…</numerusform>
            <numerusform>Настройка на %n портах…</numerusform>
        </translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Stopping: each port finishes the modem it is writing…</source>
        <translation>Остановка: каждый порт заканчивает модем, который записывает…</translation>
    </message>
    <message numerus="yes">
        <location line="+49"/>
        <source>%n row(s) in the table</source>
        <translation>
            <numerusform>В таблице %n строка</numerusform>
            <numerusform>В таблице %n строки</numerusform>
            <numerusform>В таблице %n строк</numerusform>
        </translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Verified %1 of %2 · elapsed %3</source>
        <translation>Проверено %1 из %2 · прошло %3</translation>
    </message>
    <message>
        <location line="+6"/>
        <source> · about %1 left</source>
        <translation> · осталось около %1</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Nothing was written to this row&apos;s modem, so the journal has no entry for it</source>
        <translation>В модем этой строки ничего не записано, поэтому в истории записей её нет</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Save the commissioning record</source>
        <translation>Сохранить акт пусконаладки</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>PDF files (*.pdf)</source>
        <translation>Файлы PDF (*.pdf)</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Saved the record %1</source>
        <translation>Акт сохранён: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The record was not saved: %1</source>
        <translation>Акт не сохранён: %1</translation>
    </message>
</context>
<context>
    <name>Traffic</name>
    <message>
        <location filename="../src/link/traffic.cpp" line="+25"/>
        <source>illegal function</source>
        <translation>недопустимая функция</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>illegal data address</source>
        <translation>недопустимый адрес данных</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>illegal data value</source>
        <translation>недопустимое значение данных</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>server device failure</source>
        <translation>сбой устройства</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>acknowledge</source>
        <translation>принято к исполнению</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>server device busy</source>
        <translation>устройство занято</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the gateway has no path to the modem</source>
        <translation>у шлюза нет пути к модему</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the modem behind the gateway did not answer</source>
        <translation>модем за шлюзом не ответил</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>unknown exception</source>
        <translation>неизвестное исключение</translation>
    </message>
    <message>
        <location filename="../src/worker/deviceprocedures.cpp" line="-270"/>
        <source>write settings block, %1 registers</source>
        <translation>запись блока настроек, регистров: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>read settings block, %1 registers</source>
        <translation>чтение блока настроек, регистров: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>write entry block %1 (phone number %1), %2 registers</source>
        <translation>запись блока записи %1 (телефон %1), регистров: %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>read entry block %1 (phone number %1), %2 registers</source>
        <translation>чтение блока записи %1 (телефон %1), регистров: %2</translation>
    </message>
    <message>
        <location line="+158"/>
        <source>%1 bytes that no request asked for, after the last answer; this request was not sent</source>
        <translation>%1 байт, которых не запрашивал ни один запрос, после последнего ответа; этот запрос не отправлен</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1 bytes where one answer of %2 was due</source>
        <translation>%1 байт вместо одного ответа из %2</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>no answer within %1 ms</source>
        <translation>нет ответа за %1 мс</translation>
    </message>
    <message>
        <location line="+88"/>
        <source>%1 of %2 bytes, then the line was lost</source>
        <translation>%1 из %2 байт, затем линия пропала</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 of %2 bytes, then silence</source>
        <translation>%1 из %2 байт, затем тишина</translation>
    </message>
    <message>
        <location line="-84"/>
        <source>check sum wrong</source>
        <translation>неверная контрольная сумма</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>answer accepted in %1 ms</source>
        <translation>ответ принят за %1 мс</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>exception %1: %2</source>
        <translation>исключение %1: %2</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>answer does not match the request</source>
        <translation>ответ не соответствует запросу</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>; echo of the request removed</source>
        <translation>; эхо запроса отброшено</translation>
    </message>
</context>
<context>
    <name>TrafficPage</name>
    <message>
        <location filename="../src/app/trafficpage.ui" line="+9"/>
        <source>Traffic</source>
        <translation>Обмен с модемом</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>HTraffic</source>
        <translation>Обмен с модемом: каждый отправленный и принятый кадр
с временем, байтами и пояснением, начало и итог каждой операции.</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>HCopy traffic</source>
        <translation>Скопировать выбранные строки (Ctrl+C).</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Copy</source>
        <translation>&amp;Копировать</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HSave traffic</source>
        <translation>Сохранить все строки в текстовый файл.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Save as &amp;text…</source>
        <translation>Сохранить как &amp;текст…</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HClear traffic</source>
        <translation>Очистить список (журнал работы на диске остаётся).</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>C&amp;lear</source>
        <translation>О&amp;чистить</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HOpen log folder</source>
        <translation>Открыть папку журнала работы: туда пишутся эти строки
и сообщения строки состояния.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Open folder</source>
        <translation>&amp;Открыть папку</translation>
    </message>
    <message>
        <location filename="../src/app/trafficpage.cpp" line="+137"/>
        <source>Save the traffic</source>
        <translation>Сохранить обмен</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Text files (*.txt)</source>
        <translation>Текстовые файлы (*.txt)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Saved %1</source>
        <translation>Сохранено в %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The traffic was not saved: %1: %2</source>
        <translation>Обмен не сохранён: %1: %2</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The log is in %1</source>
        <translation>Журнал работы находится в %1</translation>
    </message>
</context>
<context>
    <name>UdpCarrier</name>
    <message>
        <location filename="../src/link/udpcarrier.cpp" line="+32"/>
        <source>%1 refused the request: check the server&apos;s address and UDP port</source>
        <translation>%1 отказал в запросе: проверьте адрес сервера и его порт UDP</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../src/app/aboutdialog.cpp" line="+34"/>
        <source>About GPRS configurator</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>GPRS configurator %1
Built with Qt %2, running on Qt %3.
Released under the MIT licence.

Log: %4
Journal of Writes: %5</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ActivityLog</name>
    <message>
        <location filename="../src/files/activitylog.cpp" line="+48"/>
        <source>the folder cannot be made</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommissioningRecord</name>
    <message>
        <location filename="../src/app/commissioningrecord.cpp" line="+90"/>
        <source>line %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+29"/>
        <location line="+66"/>
        <source>Commissioning record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-62"/>
        <source>Started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ended</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>User</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Template</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Settings of the template</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Modems</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Row</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Own phone number</source>
        <translation type="unfinished">Modem&apos;s number</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Settings from the table: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+10"/>
        <source>%1 of %n rows verified</source>
        <translation><numerusform>%1 of %n row verified</numerusform><numerusform>%1 of %n rows verified</numerusform></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Every row of the table is verified.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Rows not done:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DeviceProcedures</name>
    <message>
        <location filename="../src/worker/deviceprocedures.cpp" line="+31"/>
        <source>The modem accepted the new main settings, but still holds its old phone numbers and mirror servers: write again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The modem accepted the new main settings and phone number 1 with its mirror server, but still holds the old rest: write again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The modem accepted the new main settings and phone numbers 1 to %1 with their mirror servers, but still holds the old rest: write again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+33"/>
        <source>The connection &quot;%1&quot; asks for %2 baud, which the modem does not have; it takes %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+74"/>
        <source>Whether the modem took this block is not known: read it, and write again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+60"/>
        <source>A second answer or a second master is on the line: check that nothing else polls the modem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+78"/>
        <source>The gateway has no path to the modem: check its routing for unit %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The modem behind the gateway did not answer: check the gateway&apos;s serial side (its baud rate and the line to the modem), and that the modem is powered</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+32"/>
        <source>%1 speaks %2: connect with %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DeviceSettings</name>
    <message>
        <location filename="../src/settings/settingchecks.cpp" line="+39"/>
        <source>the text contains a NUL character</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>the text contains an unpaired surrogate character</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the text takes %1 bytes but the field holds %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>&quot;%1&quot; is not an address of four numbers from 0 to 255 separated by dots, such as 192.168.0.1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>&quot;%1&quot; has more than six parts; expected e.g. 9600,8,1,N,0,0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>the baud rate &quot;%1&quot; is not one the device supports</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&quot;%1&quot; lacks the data bits, stop bits or parity; expected e.g. 9600,8,1,N,0,0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the data bits &quot;%1&quot; are not 5, 6, 7 or 8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the stop bits &quot;%1&quot; are not 1 or 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the parity &quot;%1&quot; is not N, E, O, S or M</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the option &quot;%1&quot; is not 0 or 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>the address is empty; type 0.0.0.0 for none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the serial setting is empty; expected e.g. 9600,8,1,N,0,0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the number is empty; type 0 for none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+18"/>
        <source>&quot;%1&quot; is not a whole number from 0 to 65535</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&quot;%1&quot; is not a whole number from 0 to 655359</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the modem keeps this time in steps of 10, so &quot;%1&quot; would read back as %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Cannot write %1 (%2): %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FleetProvisioner</name>
    <message>
        <location filename="../src/worker/fleetprovisioner.cpp" line="+100"/>
        <source>The report cannot be read: %1. Nothing was written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The report %1 is damaged at line %2: %3. Nothing was written: mend it, or name another report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+17"/>
        <source>The report cannot be written: %1: %2. Nothing was written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <source>%1 of %2 rows were verified in an earlier run and are left out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+17"/>
        <source>%1 of %2 rows verified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1; not yet: %2%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source> and %1 more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Stopped: every port finished its modem first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+64"/>
        <source>No modem answered on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+40"/>
        <source>The modem holds %1 already, which was verified: it was given no other row</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+17"/>
        <source>The modem already holds the row: nothing was written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+64"/>
        <source>Every row is taken: the modem was left untouched</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The row of %1 %2 (%3) is verified already: the modem was left untouched</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The row of %1 %2 (%3) is being written on another port: the modem was left untouched</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>No row has %1 %2: the modem was left untouched</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+24"/>
        <source>line %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 (line %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>changed %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+23"/>
        <source>only %1 of the line&apos;s %2 bytes could be written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The report cannot be written: %1: %2. %3 stopped%4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>; %1 is on its modem but not in the report: add its line before a run resumes from the report, or the row goes to another modem too</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+30"/>
        <source>%1 of %2 rows verified | %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <source>waiting for a modem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1: reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1: writing block %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1: verifying</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>waiting for the modem to be taken away</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>done</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GuardedWrite</name>
    <message>
        <location filename="../src/worker/guardedwrite.cpp" line="+44"/>
        <source>Reading the modem before writing…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Nothing was written: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Writing %1 of the %2 blocks; the modem holds the others already</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Nothing was written: what the modem holds could not be kept in the journal: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <source>stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Its outcome could not be kept in the journal: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Verified: the modem holds what was written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Verify: the modem holds other values for %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistoryPage</name>
    <message>
        <location filename="../src/app/historypage.ui" line="+9"/>
        <source>History of Writes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>HHistory</source>
        <translation>History of the Writes from this computer: when, to which
connection, what changed and how it ended. For a Write you
can load what the modem held before it, or what it wrote.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Own phone number</source>
        <translation type="unfinished">Modem&apos;s number</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Outcome</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Changed settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+20"/>
        <source>No Writes yet. Each Write to a modem, from this window, the command-line tool or the station, is kept here with what the modem held before it, so that it can be put back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+25"/>
        <source>HLoad previous</source>
        <translation>Load into the form the settings the modem held before
this Write; writing them puts them back byte for byte.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Load &amp;previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HLoad written</source>
        <translation>Load into the form the settings this Write put in the modem.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Load &amp;written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/historypage.cpp" line="+46"/>
        <source>Journal: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+58"/>
        <source>written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>verified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>unfinished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>failed at the settings block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>failed at entry block %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JobWords</name>
    <message>
        <location filename="../src/app/jobwords.cpp" line="+31"/>
        <source>%1, while writing block %2 of %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The default port did not open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The port %1 did not open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Reading the modem through %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Writing to the modem through %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 is open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Unknown job %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>No answer from the modem</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>The modem&apos;s answer broke off after %n byte(s)</source>
        <translation><numerusform>The modem's answer broke off after %n byte</numerusform><numerusform>The modem's answer broke off after %n bytes</numerusform></translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>An answer of %n byte(s) came damaged: its check sum is wrong</source>
        <translation><numerusform>An answer of %n byte came damaged: its check sum is wrong</numerusform><numerusform>An answer of %n bytes came damaged: its check sum is wrong</numerusform></translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+3"/>
        <source>Reading: block %1 of %2 is in…</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>Read: all %1 settings, %n answer(s) in %2 s</source>
        <translation><numerusform>Read: all %1 settings, %n answer in %2 s</numerusform><numerusform>Read: all %1 settings, %n answers in %2 s</numerusform></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Read: all %1 settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Writing: %1% done…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Written: the modem took every block, in %1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Written: the modem took every block</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>%n byte(s) came that no request asked for, so the request was not sent</source>
        <translation><numerusform>%n byte came that no request asked for, so the request was not sent</numerusform><numerusform>%n bytes came that no request asked for, so the request was not sent</numerusform></translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>%n byte(s) came where one answer of %1 was due</source>
        <translation><numerusform>%n byte came where one answer of %1 was due</numerusform><numerusform>%n bytes came where one answer of %1 was due</numerusform></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The modem refused the request: Modbus exception %1, %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>An answer of %n byte(s) came that does not fit the request</source>
        <translation><numerusform>An answer of %n byte came that does not fit the request</numerusform><numerusform>An answer of %n bytes came that does not fit the request</numerusform></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../src/app/mainwindow.ui" line="+18"/>
        <location filename="../src/app/mainwindow.cpp" line="+319"/>
        <source>GPRS configurator</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HConnection</source>
        <translation>How to reach the modem: dev=PORT;baud=RATE, for example
dev=COM3;baud=9600 on Windows or dev=/dev/ttyUSB0;baud=9600
on Linux. The line is 8 data bits, no parity, 1 stop bit;
without a baud part the rate is 9600, and without a dev part
the port \\.\COM1 is tried.
A serial device server in front of the modem:
dev=tcp://HOST:PORT (the modem&apos;s frames as they are),
dev=modbustcp://HOST:PORT (a Modbus TCP gateway, port 502
when left out), dev=rfc2217://HOST:PORT;baud=9600 (the
server&apos;s line set from here) or dev=rtuoverudp://HOST:PORT.
Alt+Down lists the ports, the rates, the last connections
that worked and &quot;Detect modem&quot;.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Apn server</source>
        <translation>APN</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HApn server</source>
        <translation>The access point name (APN) of the mobile operator,
for example internet.mts.ru; up to 32 Latin characters.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Apn login</source>
        <translation>APN user name</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HApn login</source>
        <translation>The user name for the APN, up to 14 Latin characters,
for example mts; empty when the operator asks for none.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Apn password</source>
        <translation>APN password</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HApn password</source>
        <translation>The password for the APN, up to 14 Latin characters,
for example mts; empty when the operator asks for none.
It is shown as typed.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Baud Tx</source>
        <translation>Tx line</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HBaud Tx</source>
        <translation>The modem&apos;s serial line, Tx side: six parts separated by
commas: rate,data bits,stop bits,parity,flag 1,flag 2.
Rate: 300, 600, 1200, 2400, 4800, 9600, 14400, 19200,
38400, 57600, 76800 or 115200. Data bits: 5, 6, 7 or 8.
Stop bits: 1 or 2. Parity: N none, E even, O odd,
S always 0, M always 1. Flags: 0 or 1.
Example: 9600,8,1,N,0,0</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Baud Rx</source>
        <translation>Rx line</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HBaud Rx</source>
        <translation>The modem&apos;s serial line, Rx side: six parts separated by
commas: rate,data bits,stop bits,parity,flag 1,flag 2.
Rate: 300, 600, 1200, 2400, 4800, 9600, 14400, 19200,
38400, 57600, 76800 or 115200. Data bits: 5, 6, 7 or 8.
Stop bits: 1 or 2. Parity: N none, E even, O odd,
S always 0, M always 1. Flags: 0 or 1.
Example: 9600,8,1,N,0,0</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HTimeout answer</source>
        <translation>How long the modem waits for an answer, in milliseconds: a multiple of 10
from 0 to 655350 (the modem keeps it in tens of ms).
Example: 3000</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Timeout next</source>
        <translation>Packet time-out, ms</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HTimeout next</source>
        <translation>How long the modem waits for the next packet, in milliseconds: a multiple of 10
from 0 to 655350 (the modem keeps it in tens of ms).
Example: 1000</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Trying number</source>
        <translation>Attempts</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HTrying number</source>
        <translation>How many times the modem tries again,
a whole number from 0 to 65535. Example: 3</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Timeout between</source>
        <translation>Byte gap, ms</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HTimeout between</source>
        <translation>The longest pause between the bytes of one packet, in milliseconds: a multiple of 10
from 0 to 655350 (the modem keeps it in tens of ms).
Example: 50</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Timeout answer</source>
        <translation>Answer time-out, ms</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>HLoad</source>
        <translation>Load the settings from an XML settings file chosen in a dialog.
Settings the file does not name keep their values.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Load</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HRead</source>
        <translation>Read all the settings from the modem into this form and
More settings, through the Connection field. The status
bar tells how it goes and how it ended.</translation>
    </message>
    <message>
        <location line="+3"/>
        <location filename="../src/app/mainwindow.cpp" line="-23"/>
        <source>&amp;Read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HWrite</source>
        <translation>Write the settings of this form and of More settings to the
modem through the Connection field. History keeps each Write.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Write</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HSave </source>
        <translation>Save all the settings, those of More settings too,
to an XML settings file chosen in a dialog.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+29"/>
        <source>HKeep Connection</source>
        <translation>The modem keeps its connection up all the time.
Read and written only when Keep-connection register
is ticked; it cannot be ticked otherwise.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Keep Connection</source>
        <translation>Keep connected</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HEnable Keep Connection</source>
        <translation>Tick it when the modem&apos;s firmware has the keep-connection
register (register 70): Read and Write then take a settings
block of 71 registers instead of 70, Keep connected with them.
Leave it clear for firmware without that register.</translation>
    </message>
    <message>
        <location line="+3"/>
        <location filename="../src/app/mainwindow.cpp" line="+275"/>
        <source>Enable Keep Connection</source>
        <translation>Keep-connection register</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Phone number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Phone number 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HPhone number 1</source>
        <translation>Phone number 1, for example +79161234567; up to 20
characters. It goes with mirror server 1 and its port.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Phone number 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HPhone number 2</source>
        <translation>Phone number 2, for example +79161234567; up to 20
characters. It goes with mirror server 2 and its port.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Phone number 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HPhone number 3</source>
        <translation>Phone number 3, for example +79161234567; up to 20
characters. It goes with mirror server 3 and its port.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Phone number 4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HPhone number 4</source>
        <translation>Phone number 4, for example +79161234567; up to 20
characters. It goes with mirror server 4 and its port.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Mirror server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror server 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror server 1</source>
        <translation>The IPv4 address of mirror server 1: four numbers from
0 to 255 separated by dots, for example 192.168.1.10;
0.0.0.0 for none. Its port stands beside it.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror server 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror server 2</source>
        <translation>The IPv4 address of mirror server 2: four numbers from
0 to 255 separated by dots, for example 192.168.1.10;
0.0.0.0 for none. Its port stands beside it.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror server 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror server 3</source>
        <translation>The IPv4 address of mirror server 3: four numbers from
0 to 255 separated by dots, for example 192.168.1.10;
0.0.0.0 for none. Its port stands beside it.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror server 4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror server 4</source>
        <translation>The IPv4 address of mirror server 4: four numbers from
0 to 255 separated by dots, for example 192.168.1.10;
0.0.0.0 for none. Its port stands beside it.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Mirror port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror port 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror port 1</source>
        <translation>The port of mirror server 1, a whole number
from 0 to 65535, for example 5020; 0 for none.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror port 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror port 2</source>
        <translation>The port of mirror server 2, a whole number
from 0 to 65535, for example 5020; 0 for none.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror port 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror port 3</source>
        <translation>The port of mirror server 3, a whole number
from 0 to 65535, for example 5020; 0 for none.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mirror port 4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>HMirror port 4</source>
        <translation>The port of mirror server 4, a whole number
from 0 to 65535, for example 5020; 0 for none.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>HTraffic</source>
        <translation>The traffic with the modem: every frame sent and received
with its time, bytes and meaning, and the start and the
outcome of every job.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Traffic…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>HHistory</source>
        <translation>History of the Writes from this computer: when, to which
connection, what changed and how it ended. For a Write you
can load what the modem held before it, or what it wrote.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;History…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>A fleet: a template and a table written to modems on every port at once (Alt+P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Station…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Alt+P</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>HMore settings</source>
        <translation>The modem&apos;s settings that have no place in this form:
its own number, the SMS centre&apos;s and the SMS number, its IP
address, DNS servers, Modbus address, restart times and counts.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;More settings…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>About GPRS configurator (F1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>About GPRS configurator</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>F1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/mainwindow.cpp" line="-334"/>
        <source>Stop the station?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The station is provisioning modems. Stop it and close the window? Each port finishes the modem it is writing first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Finishing the Write before closing…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+37"/>
        <source>A job is still running, so this one was not started: try again when it ends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Stop (Esc)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Stopping…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>%1 — the values shown were not read from this modem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+74"/>
        <source>The log cannot be written in %1: %2. The window works on without it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+26"/>
        <source>There is not the update files</source>
        <translation>The upload list could not be opened</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Nothing was written. Read the modem first, or load a complete settings file. Still unknown: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Save Config file</source>
        <translation>Save settings file</translation>
    </message>
    <message>
        <location line="+68"/>
        <source>Stopped: nothing was changed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Nothing was received: check the cable, the port and its baud rate, and that the modem is powered; for firmware without the keep-connection register clear &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Nothing was received through the server: check its serial side (its baud rate and the line to the modem), and for firmware without the keep-connection register clear &quot;%1&quot;; Detect modem finds the framing the server speaks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The modem may lack the keep-connection register: clear &quot;%1&quot; and try again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Open Config file</source>
        <translation>Open settings file</translation>
    </message>
    <message>
        <location line="-125"/>
        <location line="+125"/>
        <source>Xml Files (*.xml)</source>
        <translation>Settings files (*.xml)</translation>
    </message>
    <message>
        <location line="-105"/>
        <source>The configuration file was not saved: %1</source>
        <translation>The settings file was not saved: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Saved %1 without the settings still unknown: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Saved %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Finishing the Write before closing… %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+85"/>
        <source>There is not the configaration file</source>
        <translation>The settings file could not be opened</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No file was chosen: nothing was loaded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No settings file %1 to start from: the form starts empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The settings file %1 was not opened: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The configuration file is damaged at line %1: %2</source>
        <translation>The settings file is damaged at line %1: %2</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Nothing was loaded: %1 holds none of the settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nothing was loaded: %1 holds none of the settings, only: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Loaded %1, ignoring what is not a setting: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Loaded %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ModemDetector</name>
    <message>
        <location filename="../src/worker/modemdetector.cpp" line="+81"/>
        <location line="+46"/>
        <source>Trying %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-43"/>
        <location line="+22"/>
        <location line="+30"/>
        <source>The Port %1 was not open. %2</source>
        <translation>The port %1 did not open. %2</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1: the server speaks %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1: the server closed the connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1: no answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+38"/>
        <source>The modem answers on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>No modem answered: this machine has no serial ports</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No modem answered behind %1: check the server&apos;s serial side (its baud rate and the line to the modem)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>No modem answered on %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ModemJob</name>
    <message>
        <location filename="../src/worker/modemjob.cpp" line="+30"/>
        <source>Job</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Write</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Upload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Detect modem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>stopped</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MoreSettingsDialog</name>
    <message>
        <location filename="../src/app/moresettingsdialog.ui" line="+9"/>
        <source>More settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Own phone number</source>
        <translation>Modem&apos;s number</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HOwn phone number</source>
        <translation>The phone number of the modem&apos;s SIM card,
for example +79161234567; up to 14 characters.</translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-233"/>
        <source>SMS centre number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HSMS centre number</source>
        <translation>The operator&apos;s SMS centre number,
for example +79037011111; up to 14 characters.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>SMS phone number</source>
        <translation>Number for SMS</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HSMS phone number</source>
        <translation>The number the modem sends its SMS to,
for example +79169876543; up to 14 characters.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>IP address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HIP address</source>
        <translation>The modem&apos;s IPv4 address: four numbers from 0 to 255
separated by dots, for example 10.0.0.2; 0.0.0.0 for none.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>DNS 1</source>
        <translation>DNS server 1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HDNS 1</source>
        <translation>The first DNS server&apos;s IPv4 address,
for example 8.8.8.8; 0.0.0.0 for none.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>DNS 2</source>
        <translation>DNS server 2</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HDNS 2</source>
        <translation>The spare DNS server&apos;s IPv4 address,
for example 8.8.4.4; 0.0.0.0 for none.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Modbus address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HModbus address</source>
        <translation>The modem&apos;s address on the Modbus line,
a whole number from 0 to 65535. Example: 1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Timeout wait next</source>
        <translation>Next exchange time-out, ms</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HTimeout wait next</source>
        <translation>How long the modem waits for the next exchange, in milliseconds: a multiple of 10
from 0 to 655350 (the modem keeps it in tens of ms).
Example: 1000</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Server restart time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HServer restart time</source>
        <translation>After how long the modem restarts its connection to the
server, in the modem&apos;s own units: a whole number from
0 to 65535. Example: 600</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Modem restart time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HModem restart time</source>
        <translation>After how long the modem restarts itself, in the
modem&apos;s own units: a whole number from 0 to 65535.
Example: 3600</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Disconnect time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HDisconnect time</source>
        <translation>After how long the modem drops an idle connection,
in the modem&apos;s own units: a whole number from 0 to 65535.
Example: 300</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Max number of bytes</source>
        <translation>Largest packet, bytes</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HMax number of bytes</source>
        <translation>The most bytes in one packet,
a whole number from 0 to 65535. Example: 1024</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Answers number</source>
        <translation>Number of answers</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>HAnswers number</source>
        <translation>How many answers the modem waits for,
a whole number from 0 to 65535. Example: 1</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NetworkAddress</name>
    <message>
        <location filename="../src/link/doorrecognition.cpp" line="+52"/>
        <source>Modbus RTU over TCP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Modbus TCP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>RFC 2217 (telnet)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Modbus RTU over UDP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/link/networkaddress.cpp" line="+43"/>
        <source>The host %1 is not known: check its name, or give its IP address.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+22"/>
        <source>The name %1 could not be looked up within %2 s: check the network, or give the server&apos;s IP address.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+30"/>
        <source>&quot;%1&quot; is not a server&apos;s address: it starts with tcp://, modbustcp://, rfc2217:// or rtuoverudp://</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+19"/>
        <source>&quot;%1&quot; is not a server&apos;s address: it takes %2://[IPv6 ADDRESS]:PORT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>&quot;%1&quot; is not a server&apos;s address: an IPv6 address goes in brackets, %2://[ADDRESS]:PORT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>&quot;%1&quot; is not a server&apos;s address: it takes %2://HOST:PORT, a port from 1 to 65535</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+68"/>
        <source>%1 refused the connection: check the server&apos;s TCP port, and that no other program holds its connection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 did not take the connection within %2 s: check the address and the network.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 cannot be reached: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PortPicker</name>
    <message>
        <location filename="../src/app/portpicker.cpp" line="+30"/>
        <source>Choose the port and the baud rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ports, baud rates and detection of the modem (Alt+Down)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Last connections that worked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Serial ports</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>No serial ports found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Baud rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Detect modem</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PrivateFiles</name>
    <message>
        <location filename="../src/files/privatefiles.cpp" line="+60"/>
        <location line="+21"/>
        <source>%1 is not a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-7"/>
        <source>%1 is a link, not a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+28"/>
        <source>%1 is larger than %2 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+18"/>
        <source>%1 exists already</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProvisionReport</name>
    <message>
        <location filename="../src/files/provisionreport.cpp" line="+22"/>
        <source>verified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>no row matched</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>no row left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>holds a verified row</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProvisionTable</name>
    <message>
        <location filename="../src/files/provisiontable.cpp" line="+28"/>
        <location line="+55"/>
        <source>line %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-51"/>
        <source>the table is empty: its first line names the settings, one column each</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>line %1: column %2 is named twice</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>line %1: %2 is not a setting of the modem (a column is a settings key, or id)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>line %1: --match %2 names no column of the table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>line %1: %2 cells, but the header names %3 columns</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+24"/>
        <source>line %1: the id is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>line %1: the id %2 is on line %3 too</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>line %1: %2 is empty, so no modem can match the row</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>line %1: %2 %3 is on line %4 too</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>the table has no rows below its header</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>the table cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>the table is larger than %1 bytes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SerialLink</name>
    <message>
        <location filename="../src/link/connectiontext.cpp" line="+74"/>
        <source>The connection &quot;%1&quot; names no server: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The connection &quot;%1&quot; has no baud rate: &quot;%2&quot; is not a rate such as 9600</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The connection &quot;%1&quot; has an unknown part &quot;%2&quot;; it takes dev=PORT;baud=RATE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/link/rfc2217carrier.cpp" line="+167"/>
        <source>%1 does not let its serial port be set (it refuses RFC 2217&apos;s COM-PORT-OPTION): turn RFC 2217 on for that port, or set the port&apos;s rate in the server and connect with tcp://%1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+25"/>
        <source>%1 set its serial port to %2 baud instead of %3: the port does not take that rate; choose a rate that both the port and the modem take.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1 did not set its serial port to %2 baud, 8 data bits, no parity and 1 stop bit, as the modem&apos;s frames need: check the port&apos;s settings in the server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+35"/>
        <source>%1 did not answer the settings of its serial port within %2 s: check that it is an RFC 2217 server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/link/serialcarrier.cpp" line="+25"/>
        <source>The connection has no dev part, so the default port %1 was tried. %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+51"/>
        <source>The port stopped working: check that the adapter is still plugged in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/link/tcpcarrier.cpp" line="+43"/>
        <source>%1 closed the connection: check that no other program took it over, and try again</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SerialPorts</name>
    <message>
        <location filename="../src/link/serialports.cpp" line="+34"/>
        <source>serial %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+48"/>
        <source>The connection names no port: it takes dev=PORT.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>There is no such port, and this machine has none.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>There is no such port; this machine has %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Access to it is denied: another program holds it; close that program.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Access to it is denied: add the user to the dialout group and log in again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>It is busy: another program holds it; close that program.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingLabel</name>
    <message>
        <location filename="../src/settings/registerlayout.cpp" line="+17"/>
        <source>Apn server</source>
        <translation>APN</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Apn login</source>
        <translation>APN user name</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Apn password</source>
        <translation>APN password</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Own phone number</source>
        <translation>Modem&apos;s number</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>SMS centre number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>SMS phone number</source>
        <translation>Number for SMS</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>IP address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>DNS 1</source>
        <translation>DNS server 1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>DNS 2</source>
        <translation>DNS server 2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Modbus address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Baud Tx</source>
        <translation>Tx line</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Baud Rx</source>
        <translation>Rx line</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Timeout wait next</source>
        <translation>Next exchange time-out, ms</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Timeout answer</source>
        <translation>Answer time-out, ms</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Server restart time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Modem restart time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Disconnect time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Timeout next</source>
        <translation>Packet time-out, ms</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Timeout between</source>
        <translation>Byte gap, ms</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Max number of bytes</source>
        <translation>Largest packet, bytes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Trying number</source>
        <translation>Attempts</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Answers number</source>
        <translation>Number of answers</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep Connection</source>
        <translation>Keep connected</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+1"/>
        <location line="+1"/>
        <location line="+1"/>
        <source>Phone number %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+1"/>
        <location line="+1"/>
        <location line="+1"/>
        <source>Mirror server %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+1"/>
        <location line="+1"/>
        <location line="+1"/>
        <source>Mirror port %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <location filename="../src/app/commissioningrecord.cpp" line="+36"/>
        <location filename="../src/files/settingsfile.cpp" line="+139"/>
        <source>&quot;%1&quot; could not be saved: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/files/filesupport.cpp" line="+63"/>
        <source>The document has more than %1 elements; a settings file has about 40.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>An element has more than %1 attributes; a setting has one or two.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+23"/>
        <source>No file name given.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&quot;%1&quot; cannot be opened: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&quot;%1&quot; is a folder, not a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The folder &quot;%1&quot; does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&quot;%1&quot; may not be written by this user.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/files/settingsfile.cpp" line="-61"/>
        <source>The document has a DOCTYPE declaration, which a settings file never has.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+55"/>
        <source>&quot;%1&quot; could not be written: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+18"/>
        <source>The document is not open for reading.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The document goes on beyond %1 bytes; a settings file is a few kilobytes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+63"/>
        <source>&lt;%1&gt; starts on this line and is never closed (noticed at line %2: %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location filename="../src/files/settingsvalues.cpp" line="+75"/>
        <source>%1 and %n more</source>
        <translation><numerusform>%1 and %n more</numerusform><numerusform>%1 and %n more</numerusform></translation>
    </message>
</context>
<context>
    <name>StationModel</name>
    <message>
        <location filename="../src/app/stationmodel.cpp" line="+137"/>
        <source>Id</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Changed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+25"/>
        <source>waiting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>writing block %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>verifying</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>verified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>verified earlier</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>no row matched</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>no row left</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StationPage</name>
    <message>
        <location filename="../src/app/stationpage.ui" line="+14"/>
        <source>Station</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>&amp;Template</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <location line="+27"/>
        <location line="+27"/>
        <source>…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-51"/>
        <location filename="../src/app/stationpage.cpp" line="+140"/>
        <location line="+22"/>
        <source>Choose the template</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Ta&amp;ble</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+18"/>
        <location filename="../src/app/stationpage.cpp" line="-21"/>
        <location line="+26"/>
        <source>Choose the table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&amp;Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+18"/>
        <location filename="../src/app/stationpage.cpp" line="-25"/>
        <location line="+22"/>
        <source>Choose the report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&amp;Match by</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>&amp;Wait for the next modem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>&amp;Ports</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+19"/>
        <source>A&amp;dd port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>&amp;Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <location filename="../src/app/stationpage.cpp" line="-19"/>
        <source>To mend before Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Modems done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+39"/>
        <source>&amp;Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>St&amp;op</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Re-run &amp;failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Save re&amp;cord…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/stationpage.cpp" line="-1"/>
        <source>Ports</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>What each port is doing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The table&apos;s rows and their state</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Settings files (*.xml)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+3"/>
        <source>CSV files (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+36"/>
        <source>Choose the template: a settings file with every modem&apos;s settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The template cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The template is damaged at line %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Template: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Choose the table: a header of settings keys, then a row for each modem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Table: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>none: the rows in their order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+20"/>
        <source>%1 and %2 are one device (%3): tick it once</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>… and %1 more</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+76"/>
        <source>Provisioning on %n port(s)…</source>
        <translation><numerusform>Provisioning on %n port…</numerusform><numerusform>Provisioning on %n ports…</numerusform></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Stopping: each port finishes the modem it is writing…</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+49"/>
        <source>%n row(s) in the table</source>
        <translation><numerusform>%n row in the table</numerusform><numerusform>%n rows in the table</numerusform></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Verified %1 of %2 · elapsed %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source> · about %1 left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Nothing was written to this row&apos;s modem, so the journal has no entry for it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Save the commissioning record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>PDF files (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Saved the record %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The record was not saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Traffic</name>
    <message>
        <location filename="../src/link/traffic.cpp" line="+25"/>
        <source>illegal function</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>illegal data address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>illegal data value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>server device failure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>acknowledge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>server device busy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the gateway has no path to the modem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the modem behind the gateway did not answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>unknown exception</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/worker/deviceprocedures.cpp" line="-270"/>
        <source>write settings block, %1 registers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>read settings block, %1 registers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>write entry block %1 (phone number %1), %2 registers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>read entry block %1 (phone number %1), %2 registers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+158"/>
        <source>%1 bytes that no request asked for, after the last answer; this request was not sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1 bytes where one answer of %2 was due</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+18"/>
        <source>no answer within %1 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>check sum wrong</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+25"/>
        <source>answer accepted in %1 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>exception %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+23"/>
        <source>answer does not match the request</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+32"/>
        <source>%1 of %2 bytes, then the line was lost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 of %2 bytes, then silence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>; echo of the request removed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrafficPage</name>
    <message>
        <location filename="../src/app/trafficpage.ui" line="+9"/>
        <source>Traffic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>HTraffic</source>
        <translation>The traffic with the modem: every frame sent and received
with its time, bytes and meaning, and the start and the
outcome of every job.</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>HCopy traffic</source>
        <translation>Copy the selected lines (Ctrl+C).</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HSave traffic</source>
        <translation>Save all the lines to a text file.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Save as &amp;text…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HClear traffic</source>
        <translation>Clear the list (the log on disk stays).</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>C&amp;lear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>HOpen log folder</source>
        <translation>Open the log&apos;s folder, where these lines and the
status bar&apos;s messages are written.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Open folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/trafficpage.cpp" line="+137"/>
        <source>Save the traffic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Text files (*.txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Saved %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The traffic was not saved: %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The log is in %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UdpCarrier</name>
    <message>
        <location filename="../src/link/udpcarrier.cpp" line="+32"/>
        <source>%1 refused the request: check the server&apos;s address and UDP port</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

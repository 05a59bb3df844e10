<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- A few German texts for the window tests and the end-to-end test: a label, a menu item, a
     button, the day names, sentences with parts and two-line texts (the carriage return written
     as lupdate writes it). -->
<TS version="2.1" language="de">
<context>
    <name>Lumora</name>
    <message>
        <source>Display Messages Enabled</source>
        <translation>Meldungen an</translation>
    </message>
    <message>
        <source>&amp;Refresh Wallpaper</source>
        <translation>Hintergrund &amp;erneuern</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Sunday</source>
        <translation>Sonntag</translation>
    </message>
    <message>
        <source>Monday</source>
        <translation>Montag</translation>
    </message>
    <message>
        <source>Tuesday</source>
        <translation>Dienstag</translation>
    </message>
    <message>
        <source>Wednesday</source>
        <translation>Mittwoch</translation>
    </message>
    <message>
        <source>Thursday</source>
        <translation>Donnerstag</translation>
    </message>
    <message>
        <source>Friday</source>
        <translation>Freitag</translation>
    </message>
    <message>
        <source>Saturday</source>
        <translation>Samstag</translation>
    </message>
    <message>
        <source>There is no picture selected for %1.
<byte value="xd"/>The default Lumora wallpaper has been used.</source>
        <translation>Für %1 ist kein Bild gewählt.
<byte value="xd"/>Das Lumora-Standardbild ist gesetzt.</translation>
    </message>
    <message>
        <source>Your wallpaper has been set for %1</source>
        <translation>Der Hintergrund für %1 ist gesetzt</translation>
    </message>
    <message>
        <source>Remove %1&apos;s Selection</source>
        <translation>Die Wahl für %1 entfernen</translation>
    </message>
    <message>
        <source>No wallpaper has been used
<byte value="xd"/>matching your settings</source>
        <translation>Kein Hintergrund
<byte value="xd"/>wie eingestellt</translation>
    </message>
</context>
</TS>

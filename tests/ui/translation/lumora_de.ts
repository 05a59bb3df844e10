<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- A few German texts for the window tests: a label, a menu item, a button, sentences with parts
     and a two-line text (its carriage return written as lupdate writes it). -->
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
        <source>Monday</source>
        <translation>Montag</translation>
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

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Lumora</name>
    <message>
        <source>Your %1&apos;s selected picture has been used matching your settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no picture selected for %1.
<byte value="xd"/>The default Lumora wallpaper has been used.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no picture selected for %1.
<byte value="xd"/>No wallpaper has been used.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The default Lumora wallpaper has been used
<byte value="xd"/>matching your settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No wallpaper has been used
<byte value="xd"/>matching your settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your wallpaper has been set for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Refresh Wallpaper</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Sunday...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Monday...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tuesday...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Wednesday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>T&amp;hursday...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Friday...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;aturday...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Autom&amp;atically Run at Startup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display Alert Messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Logo at startup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Desktop &amp;Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Lumora Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S</source>
        <extracomment>The letter of a day panel that cycles the style: stretch.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stretch Wallpaper</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C</source>
        <extracomment>The letter of a day panel that cycles the style: centre.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Center Wallpaper</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>T</source>
        <extracomment>The letter of a day panel that cycles the style: tile.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tile Wallpaper</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sunday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tuesday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wednesday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thursday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Friday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saturday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image files (*.jpg; *.gif; *.bmp; *.tga; *.*htm*; *.png)|*.jpg; *.gif; *.bmp; *.tga; *.*htm*; *.png|All Files (*.*)|*.*</source>
        <extracomment>The file dialog&apos;s filters: each description, then its patterns, all parted by &quot;|&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 - Click here to view the picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove %1&apos;s Selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No picture selected for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Author</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1&apos;s Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dimensions: %1 x %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lumora - Choose wallpaper to use for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1&apos;s wallpaper changed using
<byte value="xd"/>%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1&apos;s picture setting has been removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Desktop Mode: Use the selected pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Desktop Mode: Use Lumora default picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Desktop Mode: No wallpaper use</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click to select a picture for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display Messages Disabled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display Messages Enabled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click here to modify messages status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Action if no wallpaper available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lumora Info Display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close Lumora</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click here to close this window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click here to apply changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click here to restore previous settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current Wallpaper Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Lumora developers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lumora is already running on this computer.
<byte value="xd"/>
<byte value="xd"/>Double-click on the Lumora icon in the system tray...
<byte value="xd"/>...or right click on it to display the context menu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your must define the wallpapers for each day.
<byte value="xd"/>You can use the context menu of this icon in system tray
<byte value="xd"/>or double-click on this icon to launch Lumora.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selected Wallpaper</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default Wallpaper</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Wallpaper</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lumora - %1 [%2 x %3 pixels - %4]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E-mail: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
&lt;h2&gt;Lumora: a wallpaper for every day of the week&lt;/h2&gt;
&lt;p&gt;Lumora lives as an icon in the notification area of the panel. Every day of the week can have
its own desktop picture; Lumora sets today&apos;s picture when it starts, again just after midnight, and
whenever you change something that concerns today.&lt;/p&gt;

&lt;h3&gt;Choosing the pictures&lt;/h3&gt;
&lt;ul&gt;
&lt;li&gt;Double-click the icon, or choose &lt;b&gt;Lumora Settings&lt;/b&gt; from its menu, to open the settings
window with one panel per day.&lt;/li&gt;
&lt;li&gt;Click a day&apos;s name (or a day in the icon&apos;s menu) to choose its picture. Lumora keeps a copy of
the picture, so the original file may later move.&lt;/li&gt;
&lt;li&gt;The red mark of a day&apos;s panel removes that day&apos;s picture. A click on a thumbnail opens the
picture in the preview window, with zoom, fit and original size.&lt;/li&gt;
&lt;li&gt;The letter beside each day sets its style: &lt;b&gt;S&lt;/b&gt; stretch, &lt;b&gt;C&lt;/b&gt; center, &lt;b&gt;T&lt;/b&gt; tile.&lt;/li&gt;
&lt;/ul&gt;

&lt;h3&gt;Desktop mode&lt;/h3&gt;
&lt;ul&gt;
&lt;li&gt;&lt;b&gt;Selected Wallpaper&lt;/b&gt;: each day shows its own picture. A day without a picture shows the
default Lumora picture or no wallpaper, as you choose.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;Default Wallpaper&lt;/b&gt;: every day shows the default Lumora picture.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;No Wallpaper&lt;/b&gt;: the desktop shows only its background colour.&lt;/li&gt;
&lt;/ul&gt;
&lt;p&gt;Mode and style changes take effect when you click &lt;b&gt;Apply&lt;/b&gt;; &lt;b&gt;Cancel&lt;/b&gt; forgets them.
Pictures chosen or removed take effect at once.&lt;/p&gt;

&lt;h3&gt;The icon&apos;s menu&lt;/h3&gt;
&lt;p&gt;&lt;b&gt;Refresh Wallpaper&lt;/b&gt; sets today&apos;s picture again. &lt;b&gt;Automatically Run at Startup&lt;/b&gt; starts
Lumora when you log in. &lt;b&gt;Display Alert Messages&lt;/b&gt; switches the notifications off and on.
&lt;b&gt;Show Logo at startup&lt;/b&gt; shows the logo for five seconds at the next start. &lt;b&gt;Set Desktop
Color&lt;/b&gt; chooses the background colour. &lt;b&gt;Exit&lt;/b&gt; ends Lumora.&lt;/p&gt;

&lt;h3&gt;Where Lumora keeps its files&lt;/h3&gt;
&lt;p&gt;Settings: &lt;code&gt;~/.config/lumora/lumora.conf&lt;/code&gt; (a text file; the folder follows
&lt;code&gt;$XDG_CONFIG_HOME&lt;/code&gt;).&lt;br&gt;
Day pictures and the default picture: &lt;code&gt;~/.local/share/lumora/&lt;/code&gt; (follows
&lt;code&gt;$XDG_DATA_HOME&lt;/code&gt;).&lt;br&gt;
Start at login: &lt;code&gt;~/.config/autostart/lumora.desktop&lt;/code&gt;.&lt;/p&gt;
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lumora Help - v%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device I/O error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Path/File access error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Always display picture at its original size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit Screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You reached the limit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error %1 : %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lumora cannot read its settings file %1: %2.
<byte value="xd"/>Until it can, Lumora uses its defaults and saves no setting.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

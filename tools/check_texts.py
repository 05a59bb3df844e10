#!/usr/bin/env python3
"""Checks the program's texts for translators.

- lupdate, run on src/ with the project's options, extracts the texts the program shows in each
  window and in its alerts and boxes (a few known ones per place must be among them);
- every translations/lumora_<lang>.ts holds exactly the texts lupdate extracts today (otherwise:
  cmake --build build --target lumora_lupdate);
- no widget code in src/linux/ui hands a bare string literal to a Qt text setter: a text a window shows
  is marked with LUMORA_TR and passed through shownText().

Usage: check_texts.py LUPDATE TOP [LUPDATE_OPTION...]   (exit status 1 on a finding)
"""
import pathlib
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

# A few texts from each place the user sees them; lupdate must find every one.
KNOWN = {
    "tray menu": ["&Refresh Wallpaper", "S&aturday...", "About..."],
    "settings window": ["Display Messages Enabled", "Remove %1's Selection", "Dimensions: %1 x %2"],
    "alerts": ["Your wallpaper has been set for %1",
               "There is no picture selected for %1.\n\rNo wallpaper has been used."],
    "boxes": ["Lumora is already running on this computer.\n\r\n\rDouble-click on the Lumora icon "
              "in the system tray...\n\r...or right click on it to display the context menu.",
              "Lumora - Choose wallpaper to use for %1"],
    "preview window": ["Zoom In", "Lumora - %1 [%2 x %3 pixels - %4]", "You reached the limit"],
    "help and about windows": ["Lumora Help - v%1", "E-mail: %1"],
}

# A Qt call that puts text on screen, given a bare literal.
SETTER = re.compile(r'\b(setText|setToolTip|setWindowTitle|setTitle|addAction|setAccessibleName|'
                    r'setAccessibleDescription|setPlaceholderText|setStatusTip|setWhatsThis|'
                    r'QPushButton|QLabel|QCheckBox|QAction|messageBox)\s*\(\s*'
                    r'(QStringLiteral\s*\(\s*|QString::fromUtf8\s*\(\s*|tr\s*\(\s*)?'
                    r'"[^"]*[A-Za-z]{2}')  # a word: a lone "v" or "x" is not a text


def sources(ts_file):
    """The source texts of a .ts file (a carriage return is stored as <byte value="xd"/>)."""
    found = set()
    for message in ET.parse(ts_file).getroot().iter("message"):
        source = message.find("source")
        text = source.text or ""
        for part in source:
            if part.tag == "byte":
                text += chr(int(part.get("value").lstrip("x"), 16))
            text += part.tail or ""
        found.add(text)
    return found


def main():
    lupdate, top, options = sys.argv[1], pathlib.Path(sys.argv[2]), sys.argv[3:]
    problems = []
    files = sorted(str(p) for p in (top / "src").rglob("*") if p.suffix in (".cpp", ".h"))
    with tempfile.TemporaryDirectory() as tmp:
        fresh_ts = pathlib.Path(tmp) / "lumora_xx.ts"
        run = subprocess.run([lupdate, *options, *files, "-ts", str(fresh_ts)],
                             capture_output=True, text=True)
        if run.returncode != 0 or not fresh_ts.exists():
            sys.exit(f"lupdate failed: {run.stderr.strip()}")
        fresh = sources(fresh_ts)
    for place, texts in KNOWN.items():
        for text in texts:
            if text not in fresh:
                problems.append(f"lupdate does not find a text of the {place}: {text!r}")
    committed = sorted((top / "translations").glob("lumora_*.ts"))
    if not committed:
        problems.append("no translations/lumora_<lang>.ts")
    for ts_file in committed:
        have = sources(ts_file)
        for text in sorted(fresh - have):
            problems.append(f"{ts_file.name} lacks {text!r}")
        for text in sorted(have - fresh):
            problems.append(f"{ts_file.name} still holds {text!r}, which the sources no longer have")
    for path in sorted((top / "src" / "linux" / "ui").rglob("*.cpp")):
        for number, line in enumerate(path.read_text().splitlines(), 1):
            code = line.split("//")[0]
            if SETTER.search(code):
                problems.append(f"{path.relative_to(top)}:{number}: a bare literal shown: "
                                f"{line.strip()}")
    for problem in problems:
        print(problem, file=sys.stderr)
    if any("lacks" in p or "still holds" in p for p in problems):
        print("(refresh them: cmake --build build --target lumora_lupdate)", file=sys.stderr)
    print(f"{len(fresh)} texts extracted; {len(committed)} translation file(s) checked")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

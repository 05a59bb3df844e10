#!/usr/bin/env python3
"""Checks that everything the tests really loaded comes from tools/debian-packages.txt.

Usage: tools/check_packages.py --build DIR [--list FILE] [--part NAME=LIST]... [--ignore DIR]...
                               TRACE_DIR

TRACE_DIR holds the dynamic loader's own record of the processes that ran with
    LD_DEBUG=files,libs LD_DEBUG_OUTPUT=TRACE_DIR/ld
(one file per process, ld.<pid>; tools/check_packages.sh runs the test suite that way). The
loader writes down every shared object it maps, the ones linked in and the ones opened later
with dlopen (Qt's platform, image format and theme plugins), in every process of the tree,
however short-lived, and the name each program was started under. Reading /proc/<pid>/maps
instead would only see what a process holds at the moment it is sampled.

Each loaded file and each program is mapped to its Debian package with dpkg-query -S. The check
fails, naming the file, the package and a program that loaded it, when a file comes from a
package that the list neither names nor pulls in (Depends and Pre-Depends, recursively, as
installed on this machine), or from no package at all. Files under the build folder that ran
the tests (--build; wherever it is, inside the source tree or not) and under each --ignore DIR
are the project's own and are not checked.

A test of a desktop that only CI installs (a package list of its own, such as
tools/debian-packages-kde.txt) has its processes record into a subfolder, TRACE_DIR/NAME/.
With --part NAME=LIST, what those processes loaded may come from LIST as well as from the main
list; everything else is still held to the main list alone. A subfolder with records and no
--part for it cannot be checked.
Exit status: 0 all good, 1 something unlisted was loaded, 2 the check could not run.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

TOP = Path(__file__).resolve().parent.parent

# Lines of the loader's record (glibc's LD_DEBUG=files,libs), after the "<pid>:\t" prefix.
TRYING = re.compile(r"^\s*trying file=(.+)$")
LINK_MAP = re.compile(r"^file=(.+?) \[\d+\];  generating link map$")
CALLING_INIT = re.compile(r"^calling init: (/.+)$")
PROGRAM = re.compile(r"^initialize program: (.+)$")
PREFIX = re.compile(r"^\s*\d+:\t?")


def read_trace(trace_dir):
    """Returns ({file: a program that loaded it}, {program name as started: count}, processes)."""
    files = {}
    programs = {}
    processes = 0
    for record in sorted(Path(trace_dir).glob("ld.*")):
        processes += 1
        tried = None
        pending = []  # loaded, not yet put down to a program
        who = record.name
        with open(record, encoding="utf-8", errors="surrogateescape") as f:
            for raw in f:
                line = PREFIX.sub("", raw.rstrip("\n"), count=1)
                if m := TRYING.match(line):
                    tried = m.group(1)
                elif m := LINK_MAP.match(line):
                    # The object is found either by its own path (dlopen with a path,
                    # LD_PRELOAD) or by the search just before it (the last path tried).
                    # A name with a dynamic string token ($LIB, $ORIGIN; LD_PRELOAD of faketime
                    # has one) is shown as written: its "calling init" line names the file.
                    name = m.group(1)
                    path = name if "/" in name else tried
                    if path and "$" not in path:
                        pending.append(path)
                    tried = None
                elif m := CALLING_INIT.match(line):
                    pending.append(m.group(1))  # also names the loader itself
                elif m := PROGRAM.match(line):
                    # The loader names a program once its libraries are in. A pid that exec()s
                    # (or comes round again) holds several programs in one record.
                    who = m.group(1)
                    programs[who] = programs.get(who, 0) + 1
                    for path in pending:
                        files.setdefault(path, who)
                    pending = []
        for path in pending:  # opened later (dlopen) by the last program
            files.setdefault(path, who)
    return files, programs, processes


def resolve_program(name):
    """The file of a program started under NAME (argv[0]); None when it cannot be told."""
    if "/" in name:
        return name if os.path.isabs(name) else None
    return shutil.which(name)


def system_configured(path):
    """True for the modules the C library and PAM load because this machine's /etc/nsswitch.conf
    or /etc/pam.d names them (libnss_systemd.so.2, pam_cap.so): they come with the machine's own
    configuration, not with what the program needs, and a machine without them loads none."""
    base = os.path.basename(path)
    return base.startswith("libnss_") or (base.startswith("pam_") and
                                          os.path.basename(os.path.dirname(path)) == "security")


USR_MERGED = ("/bin/", "/sbin/", "/lib/", "/lib32/", "/lib64/", "/libx32/")


def candidates(path):
    """Names under which dpkg may have registered PATH: as given, resolved, and across the
    /usr merge (/lib/x and /usr/lib/x are the same file; a package registers one of them)."""
    out = []
    for p in (path, os.path.realpath(path)):
        for q in (p, p[4:] if p.startswith("/usr/") and p[4:].startswith(USR_MERGED) else None,
                  "/usr" + p if p.startswith(USR_MERGED) else None):
            if q and q not in out:
                out.append(q)
    return out


def dpkg_owners(paths):
    """{registered path: {package}} for every path dpkg knows (one dpkg-query call)."""
    if not paths:
        return {}
    # dpkg-query -S takes glob patterns: escape the pattern characters.
    patterns = [re.sub(r"([*?\[\]\\])", r"\\\1", p) for p in paths]
    run = subprocess.run(["dpkg-query", "-S", "--", *patterns], capture_output=True, text=True,
                         check=False)
    owners = {}
    for line in run.stdout.splitlines():
        if line.startswith("diversion by ") or ": " not in line:
            continue
        pkgs, path = line.split(": ", 1)
        owners.setdefault(path, set()).update(bare(p) for p in pkgs.split(", "))
    return owners


def bare(package):
    """A package name without its architecture qualifier (libc6:amd64 -> libc6)."""
    return package.strip().split(":", 1)[0]


def installed_packages():
    """{package: (depends groups, essential, priority)} and {virtual name: providers}, from
    dpkg's record of the packages installed here."""
    fmt = "${db:Status-Status}\t${Package}\t${Essential}\t${Priority}\t${Provides}\t" \
          "${Pre-Depends}\t${Depends}\n"
    out = subprocess.run(["dpkg-query", "-W", "-f", fmt], capture_output=True, text=True,
                         check=True).stdout
    packages = {}
    provides = {}
    for line in out.splitlines():
        status, name, essential, priority, prov, pre, dep = (line.split("\t") + [""] * 7)[:7]
        if status != "installed":
            continue
        groups = [[alt_name(a) for a in g.split("|")] for g in f"{pre},{dep}".split(",")
                  if g.strip()]
        old = packages.get(name, ([], False, ""))
        packages[name] = (old[0] + groups, old[1] or essential == "yes", priority or old[2])
        for p in prov.split(","):
            if p.strip():
                provides.setdefault(alt_name(p), set()).add(name)
    return packages, provides


def alt_name(alternative):
    """"libfoo:any (>= 1.2) [amd64]" -> "libfoo"."""
    return bare(alternative.strip().split(" ", 1)[0].split("(", 1)[0])


def closure(roots, packages, provides):
    """Every installed package ROOTS pull in through Depends and Pre-Depends. Of an alternative
    ("a | b") or a virtual package, every installed package that satisfies it counts."""
    seen = set()
    todo = list(roots)
    while todo:
        name = todo.pop()
        for real in ({name} if name in packages else set()) | provides.get(name, set()):
            if real in seen:
                continue
            seen.add(real)
            for group in packages[real][0]:
                todo.extend(group)
    return seen


def listed(list_file):
    with open(list_file, encoding="utf-8") as f:
        return [w for line in f for w in [line.split("#", 1)[0].strip()] if w]


def cannot(message):
    print(f"check_packages: {message}", file=sys.stderr)
    return 2


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n", 1)[0])
    ap.add_argument("trace_dir")
    ap.add_argument("--build", required=True,
                    help="the build folder whose programs and libraries the tests ran")
    ap.add_argument("--list", default=str(TOP / "tools" / "debian-packages.txt"))
    ap.add_argument("--part", action="append", default=[], metavar="NAME=LIST",
                    help="the records in TRACE_DIR/NAME/ may also load from the packages of LIST")
    ap.add_argument("--ignore", action="append", default=[],
                    help="another folder of the project's own files")
    args = ap.parse_args()
    if not os.path.isdir(args.build):
        return cannot(f"the build folder {args.build} does not exist")
    trace = Path(args.trace_dir)
    parts = {}
    for spec in args.part:
        name, sep, part_list = spec.partition("=")
        if not sep or not name or "/" in name or not part_list:
            return cannot(f"--part {spec}: expected NAME=LIST")
        parts[name] = part_list
    strays = sorted(d.name for d in trace.glob("*")
                    if d.is_dir() and d.name not in parts and any(d.glob("ld.*")))
    if strays:
        return cannot(f"loader records in {', '.join(str(trace / d) for d in strays)} "
                      "and no --part to check them against")

    # (name, [list files], {file: a program that loaded it}); the whole run first.
    groups = []
    processes = 0
    programs = {}
    for name, lists, folder in [(None, [args.list], trace)] + \
            [(n, [args.list, part_list], trace / n) for n, part_list in parts.items()]:
        files, started, count = read_trace(folder)
        if count == 0:
            continue
        processes += count
        for program, times in started.items():
            programs[program] = programs.get(program, 0) + times
            if (path := resolve_program(program)) is not None:
                files.setdefault(path, program)
        groups.append((name, lists, files))
    if processes == 0:
        return cannot(f"no loader records (ld.*) in {args.trace_dir}")
    unresolved = sorted(p for p in programs if resolve_program(p) is None)

    own = sorted({os.path.realpath(d) + "/" for d in [args.build, *args.ignore]} |
                 {os.path.abspath(d) + "/" for d in [args.build, *args.ignore]})

    def project_file(path):
        return any(os.path.realpath(path).startswith(d) or path.startswith(d) for d in own)

    checked_files = {f for _, _, files in groups for f in files if not project_file(f)}
    owners = dpkg_owners(sorted({c for f in checked_files for c in candidates(f)}))
    packages, provides = installed_packages()
    # Packages that every Debian system has (Essential: yes, Priority: required, and what they
    # depend on) are there without being listed.
    base = [n for n, (_, essential, priority) in packages.items()
            if essential or priority == "required"]

    failed = False
    used = set()
    notes = set()
    reports = []
    for name, lists, files in groups:
        try:
            wanted = [p for list_file in lists for p in listed(list_file)]
        except OSError as e:
            return cannot(f"cannot read the package list: {e}")
        absent = [p for p in wanted if p not in packages and not provides.get(p)]
        if absent:
            return cannot(f"listed but not installed: {' '.join(absent)} (run tools/setup.sh"
                          f"{'' if name is None else ', or install ' + lists[-1]})")
        pulled_in = closure(wanted + base, packages, provides)
        problems = []
        missing = set()
        for f in sorted(f for f in files if f in checked_files):
            owned = next((owners[c] for c in candidates(f) if c in owners), None)
            if owned and not owned & pulled_in and system_configured(f):
                notes.add(f"{f} ({', '.join(sorted(owned))}, loaded by {files[f]})")
            elif owned is None:
                problems.append(f"{f}: from no Debian package (loaded by {files[f]})")
            elif not owned & pulled_in:
                problems.append(f"{f}: from package {', '.join(sorted(owned))}, neither listed "
                                f"nor pulled in by a listed package (loaded by {files[f]})")
                missing |= owned
            else:
                used |= owned & pulled_in
        if problems:
            failed = True
            where = "" if name is None else f" in {trace / name}"
            reports.append(f"check_packages: {len(problems)} loaded file(s){where} not covered "
                           f"by {' + '.join(lists)}:")
            reports += [f"  {p}" for p in problems]
            if missing:
                reports.append("check_packages: packages to add to "
                               f"{'the list' if name is None else 'a list'}: "
                               f"{' '.join(sorted(missing))}")

    print(f"check_packages: {processes} processes, {len(programs)} programs, "
          f"{len(checked_files)} files outside the project from {len(used)} packages")
    for f in sorted(notes):
        print(f"check_packages: note: this machine's own configuration loads {f}")
    for name in unresolved:
        print(f"check_packages: note: cannot tell which file program '{name}' was")
    for line in reports:
        print(line)
    if failed:
        return 1
    lists = " + ".join([args.list] + [f"{parts[n]} (in {trace / n})" for n, _, _ in groups if n])
    print(f"check_packages: every loaded file comes from {lists} or the base system")
    return 0


if __name__ == "__main__":
    sys.exit(main())

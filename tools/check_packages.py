#!/usr/bin/env python3
"""Checks that everything the tests really loaded comes from tools/debian-packages.txt.

Usage: tools/check_packages.py [--list FILE] [--ignore DIR]... TRACE_DIR

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
installed on this machine), or from no package at all. Files under the repository (the build
outputs) and under each --ignore DIR are the project's own and are not checked.
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


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n", 1)[0])
    ap.add_argument("trace_dir")
    ap.add_argument("--list", default=str(TOP / "tools" / "debian-packages.txt"))
    ap.add_argument("--ignore", action="append", default=[],
                    help="a folder of the project's own files (the repository always is one)")
    args = ap.parse_args()

    files, programs, processes = read_trace(args.trace_dir)
    if processes == 0:
        print(f"check_packages: no loader records (ld.*) in {args.trace_dir}", file=sys.stderr)
        return 2
    unresolved = []
    for name in sorted(programs):
        path = resolve_program(name)
        if path is None:
            unresolved.append(name)
        else:
            files.setdefault(path, name)

    own = [os.path.realpath(d) + "/" for d in [str(TOP), *args.ignore]]
    checked = {f: who for f, who in files.items()
               if not any(os.path.realpath(f).startswith(d) or f.startswith(d) for d in own)}
    owners = dpkg_owners(sorted({c for f in checked for c in candidates(f)}))

    packages, provides = installed_packages()
    wanted = listed(args.list)
    absent = [p for p in wanted if p not in packages and not provides.get(p)]
    if absent:
        print(f"check_packages: listed but not installed: {' '.join(absent)} "
              "(run tools/setup.sh)", file=sys.stderr)
        return 2
    # Packages that every Debian system has (Essential: yes, Priority: required, and what they
    # depend on) are there without being listed.
    base = [n for n, (_, essential, priority) in packages.items()
            if essential or priority == "required"]
    pulled_in = closure(wanted + base, packages, provides)

    problems = []
    used = set()
    missing = set()
    configured = []
    for f in sorted(checked):
        owned = next((owners[c] for c in candidates(f) if c in owners), None)
        if owned and not owned & pulled_in and system_configured(f):
            configured.append(f"{f} ({', '.join(sorted(owned))}, loaded by {checked[f]})")
        elif owned is None:
            problems.append(f"{f}: from no Debian package (loaded by {checked[f]})")
        elif not owned & pulled_in:
            problems.append(f"{f}: from package {', '.join(sorted(owned))}, neither listed "
                            f"nor pulled in by a listed package (loaded by {checked[f]})")
            missing |= owned
        else:
            used |= owned & pulled_in

    print(f"check_packages: {processes} processes, {len(programs)} programs, "
          f"{len(checked)} files outside the project from {len(used)} packages")
    for f in configured:
        print(f"check_packages: note: this machine's own configuration loads {f}")
    for name in unresolved:
        print(f"check_packages: note: cannot tell which file program '{name}' was")
    if problems:
        print(f"check_packages: {len(problems)} loaded file(s) not covered by {args.list}:")
        for p in problems:
            print(f"  {p}")
        if missing:
            print(f"check_packages: packages to add to the list: {' '.join(sorted(missing))}")
        return 1
    print(f"check_packages: every loaded file comes from {args.list} or the base system")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Fails when the manual page and `pelmora-cli --help` disagree: a command, option or exit
status the help lists that has no entry in the manual page, or a command the manual page
describes that the help does not list.

Usage: check_manual.py CLI MANUAL
"""
import re
import subprocess
import sys


def help_lists(cli):
    text = subprocess.run([cli, "--help"], check=True, capture_output=True, text=True).stdout
    commands, statuses, section = set(), set(), None
    for line in text.splitlines():
        if line.endswith(":") and not line.startswith(" "):
            section = line
        elif section == "Commands:" and re.match(r"  [a-z]", line):
            words = line.split()
            commands.add(" ".join(words[:2]) if words[0] == "case" else words[0])
        elif section == "Exit status:" and re.match(r"  \d  ", line):
            statuses.add(line.split()[0])
    options = set(re.findall(r"--[a-z][a-z-]*", text))
    return commands, options, statuses


def manual_entries(path):
    """The head of every .TP entry, per section, as the reader sees it."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    entries, section = {}, None
    for i, line in enumerate(lines):
        if line.startswith(".SH "):
            section = line[4:].strip('"')
        elif line == ".TP" and i + 1 < len(lines):
            head = re.sub(r"^\.(B|BI|BR|I|IR|IB)\s+", "", lines[i + 1])
            head = re.sub(r"\\f[BIRP]", "", head).replace("\\-", "-").replace('"', "")
            entries.setdefault(section, []).append(" ".join(head.split()))
    return entries


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    commands, options, statuses = help_lists(argv[1])
    entries = manual_entries(argv[2])

    def starts(section, word):
        return any(h == word or h.startswith(word + " ") for h in entries.get(section, []))

    problems = [f"command '{c}' has no entry under COMMANDS" for c in sorted(commands)
                if not starts("COMMANDS", c)]
    problems += [f"option '{o}' has no entry under OPTIONS" for o in sorted(options)
                 if not starts("OPTIONS", o)]
    problems += [f"exit status {s} has no entry under EXIT STATUS" for s in sorted(statuses)
                 if not starts("EXIT STATUS", s)]
    for head in entries.get("COMMANDS", []):
        words = head.split()
        name = " ".join(words[:2]) if words[0] == "case" else words[0]
        if name not in commands:
            problems.append(f"the manual page describes '{name}', which the help does not list")
    for p in problems:
        print(p)
    print(f"{len(commands)} commands, {len(options)} options, {len(statuses)} exit statuses "
          f"checked; {len(problems)} problems")
    return 1 if problems or not commands or not options or not statuses else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""Turns a readable command-set description (resources/example-set.txt) into
a command-set file: one 312-byte record per command, as the editor writes it.

The description holds one command per line, its fields separated by "|":
name | command | window | drive | hotkey. Blank lines and lines starting with
'#' are comments. window is Default, Minimized or Maximized; drive one letter
or nothing; hotkey Ctrl, Alt and Shift joined by "+" with a letter or a digit
("Ctrl+Alt+N"), or nothing.

usage: exampleset.py DESCRIPTION.txt OUTPUT.dat
"""
import struct
import sys

NAME_CAPACITY = 40
COMMAND_CAPACITY = 255
RECORD_SIZE = 312
MAX_COMMANDS = 30
SHOW_COMMANDS = {"default": 10, "minimized": 2, "maximized": 3}
MODIFIERS = ("ctrl", "alt", "shift")


def stored_text(text, capacity):
    """The text with one NUL appended, cut to the field, behind its length byte."""
    data = (text.encode("cp1252") + b"\0")[:capacity]
    return bytes([len(data)]) + data.ljust(capacity, b"\0")


def hotkey_code(text, where):
    """Ctrl, Alt and Shift flags as "1" or "0", then the key character
    (letters in lower case); no hotkey is "000" and a NUL."""
    if not text:
        return b"000\0"
    parts = text.split("+")
    key = parts[-1]
    mods = [p.lower() for p in parts[:-1]]
    if len(key) != 1 or not key.isascii() or not key.isalnum():
        sys.exit(f"{where}: the hotkey key must be one letter or digit, not '{key}'")
    for m in mods:
        if m not in MODIFIERS:
            sys.exit(f"{where}: unknown modifier '{m}' (use Ctrl, Alt, Shift)")
    if "ctrl" not in mods and "alt" not in mods:
        sys.exit(f"{where}: a hotkey needs Ctrl or Alt to work anywhere on the desktop")
    flags = "".join("1" if m in mods else "0" for m in MODIFIERS)
    return (flags + key.lower()).encode("ascii")


def record(fields, where):
    if len(fields) != 5:
        sys.exit(f"{where}: expected 5 fields (name | command | window | drive | hotkey), got {len(fields)}")
    name, command, window, drive, hotkey = fields
    if window.lower() not in SHOW_COMMANDS:
        sys.exit(f"{where}: window must be Default, Minimized or Maximized, not '{window}'")
    if len(drive) > 1 or (drive and not drive.isalpha()):
        sys.exit(f"{where}: drive must be one letter or nothing, not '{drive}'")
    data = stored_text(name, NAME_CAPACITY) + stored_text(command, COMMAND_CAPACITY)
    data += b"\0" * 3
    data += struct.pack("<i", SHOW_COMMANDS[window.lower()])
    data += (drive.upper() or " ").encode("ascii")
    data += hotkey_code(hotkey, where)
    data += b"\0" * 3
    assert len(data) == RECORD_SIZE
    return data


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    source, output = sys.argv[1], sys.argv[2]
    records = []
    with open(source, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            fields = [field.strip() for field in line.split("|")]
            records.append(record(fields, f"{source}:{number}"))
    if len(records) > MAX_COMMANDS:
        sys.exit(f"{source}: {len(records)} commands, at most {MAX_COMMANDS} fit in a set")
    with open(output, "wb") as f:
        f.write(b"".join(records))


if __name__ == "__main__":
    main()

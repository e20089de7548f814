"""The macro library file, config\\sequence.dat, as the tests write and read it
behind Option's back, and the key codes and flags of its steps."""
import os
from pathlib import Path

DELAY = 0xFF
KEY_A, KEY_B, KEY_C = 4, 5, 6
LEFT_SHIFT, RIGHT_SHIFT = 225, 229
RIGHT_BUTTON = 241
PRESS, RELEASE = 1, 2


def macro_value(name, events, count=None):
    """A macro as the library stores it: the 748 record bytes in hex and their checksum."""
    # A name of 50 characters or more fills its field with no terminator.
    record = name.encode("utf-16-le")[:100].ljust(100, b"\0") + bytes(4)
    record += (len(events) if count is None else count).to_bytes(4, "little", signed=True)
    record += b"".join(bytes([k, f]) + d.to_bytes(2, "little") for k, f, d in events).ljust(640, b"\0")
    return record.hex().upper() + "%02X" % (sum(record) & 0xFF)


def write_library(path, macros):
    lines = ["[Macros]", f"number={len(macros)}"]
    lines += [f"{i}={macro_value(name, events)}" for i, (name, events) in enumerate(macros)]
    path.write_bytes(("\r\n".join(lines) + "\r\n").encode("ascii"))


def read_library(path):
    """[(name, [(key, flag, delay), ...])] from config\\sequence.dat."""
    if not path.exists():
        return []
    raw = path.read_bytes()
    text = raw.decode("utf-16") if raw[:2] == b"\xff\xfe" else raw.decode("latin-1")
    values = {}
    for line in text.splitlines():
        key, sep, value = line.partition("=")
        if sep:
            values[key.strip()] = value.strip()
    macros = []
    for i in range(int(values.get("number", "0"))):
        data = bytes.fromhex(values.get(str(i), "")[:-2]) if len(values.get(str(i), "")) == 1498 else bytes(748)
        name = data[:100].decode("utf-16-le").split("\0")[0]
        count = int.from_bytes(data[104:108], "little", signed=True)
        events = [(data[108 + 4 * j], data[109 + 4 * j], int.from_bytes(data[110 + 4 * j:112 + 4 * j], "little"))
                  for j in range(max(0, min(count, 160)))]
        macros.append((name, events))
    return macros


def recorded(keys, delay=None):
    """What the recorder stores for `keys` each pressed and released in turn with
    a fixed delay (None: no delays) between the steps."""
    events = []
    for key in keys:
        for flag in (PRESS, RELEASE):
            if events and delay is not None:
                events.append((DELAY, 0, delay))
            events.append((key, flag, 0))
    return events


def key_steps(events):
    return [(k, f) for k, f, _ in events if k != DELAY]


def read_library_bytes(raw):
    path = Path(os.environ.get("TMPDIR", "/tmp")) / f"gm-library-{os.getpid()}.dat"
    path.write_bytes(raw)
    try:
        return read_library(path)
    finally:
        path.unlink()

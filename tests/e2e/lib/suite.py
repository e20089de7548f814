"""The one way an end-to-end suite is started.

    /usr/bin/python3 <suite>.py --build-dir build/win [suite options] [unittest arguments]

main() reads the options, keeps them here for the suite's fixtures, starts the
run's Session when the suite wants one, and runs the suite module's tests.
Suites read the build folder and the Session from here, never from a global
of their own."""
import argparse
import sys
import unittest
from pathlib import Path

from . import harness

_args = None
_session = None


def parse(add_arguments=None, argv=None, known_only=True):
    """The suite's options; the rest are unittest's. Returns (options, rest)."""
    global _args
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True, help="the cross build tree (build/win)")
    if add_arguments:
        add_arguments(parser)
    if known_only:
        _args, rest = parser.parse_known_args(argv)
    else:
        _args, rest = parser.parse_args(argv), []
    _args.build_dir = Path(_args.build_dir).resolve()
    return _args, rest


def args():
    if _args is None:
        raise RuntimeError("the suite was not started through lib.suite.main")
    return _args


def build_dir():
    return args().build_dir


def start_session(prepare=None, prefix=None):
    """Starts the run's Session (a display, a prefix and a wineserver); `prepare`
    then adjusts it, e.g. with registry keys every test of the suite needs. A
    `prefix` outside the build tree leaves a shared build untouched."""
    global _session
    if _session is None:
        scale = getattr(args(), "scale", 100)
        # A display of a higher scale has the room for the larger windows.
        screen = f"{1280 * scale // 100}x{1024 * scale // 100}"
        _session = harness.Session(build_dir(), prefix, variant="" if scale == 100 else f"scale{scale}",
                                   screen=screen)
        _session.start()
        if prepare:
            prepare(_session)
    return _session


def session():
    if _session is None:
        raise RuntimeError("the suite's Session was not started")
    return _session


def stop_session():
    global _session
    if _session is not None:
        _session.stop()
        _session = None


def main(add_arguments=None, with_session=True, prepare=None):
    """Runs the tests of the calling suite module and exits with their result."""
    _, rest = parse(add_arguments)
    if with_session:
        start_session(prepare)
    try:
        program = unittest.main(module="__main__", argv=[sys.argv[0]] + rest, exit=False, verbosity=2)
        ok = program.result.wasSuccessful()
    finally:
        stop_session()
    sys.exit(0 if ok else 1)

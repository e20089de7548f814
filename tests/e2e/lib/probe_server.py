"""One long-lived probe that answers many questions.

A Wine start costs a few hundred milliseconds, more on a loaded machine, and a
long run asks thousands of questions: `gm_probe.exe serve` takes one command a
line and closes each answer with "=end CODE". A server that stops answering is
ended, and the caller asks a probe of its own instead."""
import queue
import subprocess
import threading

from . import harness

END = "=end "


class ProbeServer:
    def __init__(self, command, env, cwd):
        self.process = subprocess.Popen(command + ["serve"], cwd=cwd, env=env, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.lines = queue.Queue()
        # A reader thread, so that a server that hangs costs a time limit, not the run.
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for raw in self.process.stdout:
            self.lines.put(raw.decode("utf-8", "replace").rstrip("\r\n"))
        self.lines.put(None)

    def alive(self):
        return self.process.poll() is None

    def ask(self, args, timeout=30):
        """The probe's answer to args as a harness.Completed, or None when the server failed."""
        if not self.alive():
            return None
        try:
            self.process.stdin.write(("\t".join(str(a) for a in args) + "\n").encode("utf-8"))
            self.process.stdin.flush()
        except OSError:
            self.stop()
            return None
        out = []
        while True:
            try:
                line = self.lines.get(timeout=timeout)
            except queue.Empty:
                line = None
            if line is None:
                self.stop()
                return None
            if line.startswith(END):
                return harness.Completed(int(line[len(END):]), "".join(o + "\n" for o in out), "")
            out.append(line)

    def stop(self):
        if self.process.poll() is None:
            try:
                self.process.stdin.close()
            except OSError:
                pass
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(5)

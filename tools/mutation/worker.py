"""A copy of the tree with its own normal build, reused between mutants.

For each mutant the worker compiles the objects that hold the mutated file
(a compile error makes the mutant unbuildable), then goes through the test
programs that can see the change, the likeliest killers first: it links
that program and the binaries it runs (nothing else), and runs its tests
that can see the change, one by one, until the first failure. A test can
see a change when a binary it uses holds the mutated file and came out
different from the unmutated build: its program, a program or library it
or a program it started loaded in the unmutated run (seen by the dynamic
loader), or a binary its source spells by name (read, not run). Every
other test would run exactly as on the unmutated build, which passes, so
the verdict is the one of the whole suite.

Binaries a mutant left behind are not rebuilt at once: ninja brings each
one back before any later test runs it.
"""

import concurrent.futures
import hashlib
import os
import re
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

from buildgraph import BuildGraph
from mutants import apply
from suite import list_tests, run_test


def digest(path):
    h = hashlib.sha1()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            h.update(block)
    return h.hexdigest()


class Worker:
    def __init__(self, repo, root, number, jobs, timeout, history, git):
        self.repo = repo
        self.src = root / f"w{number}"
        self.build = self.src / "build" / "default"
        self.jobs = jobs  # build jobs, and tests run at once
        self.timeout = timeout
        self.history = history
        self.git = git
        self.graph = None
        self.tests = []
        self.pristine = {}

    def prepare(self):
        """Copies the tree, builds it whole and runs the whole suite once:
        (ok, what went wrong)."""
        files = [f for f in self.git("ls-files", "-co", "--exclude-standard").split("\n") if f]
        # Files the tree no longer has leave the copy too (a folder's glob
        # would still build them).
        wanted = set(files)
        if self.src.is_dir():
            for target in self.src.rglob("*"):
                relative = target.relative_to(self.src).as_posix()
                if target.is_file() and not relative.startswith("build/") and relative not in wanted:
                    target.unlink()
        for f in files:
            source = self.repo / f
            target = self.src / f
            if not source.is_file():
                continue
            if target.is_file() and target.read_bytes() == source.read_bytes():
                continue
            target.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(source, target)
        if not (self.build / "build.ninja").exists():
            subprocess.run(["cmake", "--preset", "default"], cwd=self.src, check=True, capture_output=True)
        built, log = self.compile()
        if not built:
            return False, log
        self.graph = BuildGraph(self.src, self.build)
        self.pristine = {b: digest(self.build / b) for b in self.graph.binaries}
        self.tests = list_tests(self.build)
        with concurrent.futures.ThreadPoolExecutor(max_workers=self.jobs) as pool:
            outcomes = list(pool.map(self.baseline, self.tests))
        for test, passed in zip(self.tests, outcomes):
            if not passed:
                return False, f"the unmutated test {test.name} fails"
        return True, ""

    def baseline(self, test):
        """Runs a test on the unmutated build and notes the binaries it
        uses: its program, each program or library it or a program it
        started loaded, each binary its source file spells (a test may read
        one without running it), and what those programs run in turn. A
        test whose loads went unseen counts as using all its program can."""
        trace = Path(tempfile.mkdtemp(prefix="mutation-trace-"))
        try:
            passed, test.seconds, _ = run_test(test, test.timeout, trace=str(trace))
            seen = set()
            for log in trace.iterdir():
                text = log.read_text(errors="replace")
                seen.update(b for b in self.graph.binaries if str(self.build / b) in text)
        finally:
            shutil.rmtree(trace, ignore_errors=True)
        if not test.binary or test.binary not in seen:
            test.uses = set(self.graph.binaries) if not test.binary else set(self.graph.runtime[test.binary])
            return passed
        spelled = set().union(*(self.graph.spelled_in(f) for f in self.test_sources(test)))
        test.uses = {test.binary} | self.graph.with_programs((seen | spelled) - {test.binary})
        return passed

    def test_sources(self, test):
        """The test's source file, the helpers beside it and the test
        headers these include; every test source of its program when the
        file is not found."""
        suite = test.name.split(".", 1)[0].split("/")[-1]
        pattern = re.compile(r"\bTEST(?:_F|_P)?\(\s*" + re.escape(suite) + r"\s*,")
        mine = [f for f in self.graph.sources.get(test.binary, ()) if f.startswith("tests/")]
        found = [f for f in mine if f.endswith(".cpp") and pattern.search(self.graph.text(f))]
        if not found:
            return mine
        # Helpers compiled beside the tests (no test of their own) may start
        # or read a binary for any of them.
        found += [f for f in mine if f.endswith(".cpp") and not re.search(r"\bTEST(?:_F|_P)?\(", self.graph.text(f))]
        index = 0
        while index < len(found):
            for header in re.findall(r'#include\s+"([^"]+)"', self.graph.text(found[index])):
                found.extend(m for m in mine if m.endswith("/" + header) and m not in found)
            index += 1
        return found

    def compile(self, *targets):
        result = subprocess.run(["ninja", "-C", str(self.build), f"-j{self.jobs}", *targets],
                                cwd=self.src, capture_output=True, text=True)
        return result.returncode == 0, result.stdout[-3000:] + result.stderr[-3000:]

    def full_suite(self):
        """The whole suite under ctest, as before selection existed:
        (passed, the first failing test or 'timeout')."""
        (self.build / "Testing" / "Temporary" / "CTestCostData.txt").unlink(missing_ok=True)
        command = ["ctest", "--test-dir", str(self.build), "-LE", "extended", "--stop-on-failure",
                   f"-j{self.jobs}", "--timeout", "60"]
        try:
            result = subprocess.run(command, cwd=self.src, capture_output=True, text=True, timeout=self.timeout)
        except subprocess.TimeoutExpired:
            return False, "timeout"
        if result.returncode == 0:
            return True, ""
        failed = re.findall(r"\d+ - (\S+) \(", result.stdout) or re.findall(
            r"Test +#\d+: (\S+) \.*\s*\*+(?:Failed|Exception|Timeout)", result.stdout)
        return False, failed[0] if failed else "failed"

    def order(self, path, tests):
        """The tests grouped by program, likeliest killers first: those
        that killed mutants of the same file, then those named after the
        file, then those that killed mutants of the same folder, then the
        quickest."""
        folder = path.split("/", 1)[0]
        stem = Path(path).stem.lower()

        def weight(test):
            kills = self.history.get(test.name, ())
            return (-sum(1 for p in kills if p == path), stem not in test.name.lower(),
                    -sum(1 for p in kills if p.split("/", 1)[0] == folder), test.seconds)

        groups = {}
        for test in sorted(tests, key=weight):
            groups.setdefault(test.binary, []).append(test)
        return sorted(groups.items(), key=lambda item: (weight(item[1][0])[:3], sum(t.seconds for t in item[1])))

    def run(self, mutant, full=False):
        """(state, the killing test, tests run)."""
        target = self.src / mutant.path
        if not target.is_file():
            return "stale", "the file is gone", 0
        original = target.read_bytes()
        stamp = target.stat()
        try:
            source = original.decode("utf-8", errors="replace")
            line = source.split("\n")[mutant.line - 1] if mutant.line <= source.count("\n") + 1 else ""
            if mutant.kind != "remove" and line[mutant.column:mutant.column + len(mutant.old)] != mutant.old:
                return "stale", "the line has changed", 0
            if mutant.kind == "remove" and line != mutant.old:
                return "stale", "the line has changed", 0
            target.write_text(apply(source, mutant), encoding="utf-8")
            if full:
                built, _ = self.compile()
                if not built:
                    return "unbuildable", "", 0
                passed, by = self.full_suite()
                return ("survived", "", 0) if passed else ("killed", by, 0)
            return self.selected(mutant.path)
        finally:
            target.write_bytes(original)
            os.utime(target, ns=(stamp.st_atime_ns, time.time_ns()))

    def selected(self, path):
        objects, holders = self.graph.rebuilt_by(path)
        if objects:
            built, _ = self.compile(*objects)
            if not built:
                return "unbuildable", "", 0
        holders = set(holders)
        changed = {}

        def differs(binary):
            # A binary that came out byte for byte as unmutated runs as it
            # did then.
            if binary not in changed:
                changed[binary] = digest(self.build / binary) != self.pristine[binary]
            return changed[binary]

        deadline = time.monotonic() + self.timeout
        ran = 0
        for binary, tests in self.order(path, [t for t in self.tests if t.uses & holders]):
            needs = set().union(*(t.uses for t in tests))
            if binary:
                needs |= self.graph.runtime[binary]
            built, _ = self.compile(*sorted(needs))
            if not built:
                return "unbuildable", "", ran
            tests = [t for t in tests if any(differs(b) for b in t.uses & holders)]
            ran_here, by = self.run_tests(tests, deadline)
            ran += ran_here
            if by:
                return "killed", by, ran
        return "survived", "", ran

    def run_tests(self, tests, deadline):
        """Runs the tests in their order, `jobs` at a time, until the first
        failure: (tests run, the failing test or 'timeout', '' when all pass)."""
        pending = list(tests)
        running = {}
        ran = 0
        by = ""
        with concurrent.futures.ThreadPoolExecutor(max_workers=self.jobs) as pool:
            while (pending and not by) or running:
                while pending and not by and len(running) < self.jobs:
                    left = deadline - time.monotonic()
                    if left <= 0:
                        by = "timeout"
                        break
                    test = pending.pop(0)
                    running[pool.submit(run_test, test, left)] = test
                if not running:
                    break
                done, _ = concurrent.futures.wait(running, return_when=concurrent.futures.FIRST_COMPLETED)
                for future in done:
                    test = running.pop(future)
                    ran += 1
                    passed, _, timed_out = future.result()
                    if not passed and not by:
                        by = "timeout" if timed_out and time.monotonic() >= deadline else test.name
        return ran, by

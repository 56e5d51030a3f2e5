"""What a change to a source file rebuilds, and what each binary runs.

Read from the ninja build of a worker copy once it has built: the binaries
below bin/ (programs and libraries), the sources and headers compiled into
each of them, and the other binaries each one needs when it runs (the
build's order-only dependencies, such as a test target's dependency on
skerrin or libtavl3.so, and every binary whose file name its sources
spell, such as a test reading the stamp of libtavl3.so).
"""

import os
import re
import subprocess
from pathlib import Path


# Comments that name a binary do not make the code run it.
COMMENT = re.compile(r"/\*.*?\*/|//[^\n]*", re.S)


def ninja(build, *args):
    return subprocess.run(["ninja", "-C", str(build), *args], check=True, capture_output=True,
                          text=True).stdout


def parse_query(text):
    """{node: (inputs, order_only)} from the output of `ninja -t query`."""
    edges = {}
    node = None
    section = None
    for line in text.split("\n"):
        if not line.strip() or line.startswith("ninja: "):
            continue
        if not line.startswith(" "):
            node = line.rstrip(":")
            edges[node] = ([], [])
            section = None
        elif line.startswith("  input:"):
            section = "input"
        elif line.startswith("  outputs:") or line.startswith("  validations:"):
            section = None
        elif section == "input":
            entry = line.strip()
            if entry.startswith("|| "):
                edges[node][1].append(entry[3:])
            elif entry.startswith("| "):
                edges[node][0].append(entry[2:])
            else:
                edges[node][0].append(entry)
    return edges


def parse_deps(text):
    """{object: [headers and source]} from the output of `ninja -t deps`."""
    deps = {}
    current = None
    for line in text.split("\n"):
        if not line.strip():
            current = None
        elif not line.startswith(" "):
            current = line.split(":", 1)[0]
            deps[current] = []
        elif current:
            deps[current].append(line.strip())
    return deps


class BuildGraph:
    def __init__(self, src, build):
        self.src = Path(src).resolve()
        self.build = Path(build).resolve()
        targets = ninja(self.build, "-t", "targets", "all")
        self.binaries = sorted(line.split(":", 1)[0] for line in targets.split("\n")
                               if line.startswith("bin/") and not line.endswith(": phony"))
        self.edges = {}
        pending = list(self.binaries)
        while pending:
            batch, pending = pending[:200], pending[200:]
            found = parse_query(ninja(self.build, "-t", "query", *batch))
            self.edges.update(found)
            for inputs, order in found.values():
                pending.extend(n for n in inputs + order if n not in self.edges and n not in pending)
        self.headers = parse_deps(ninja(self.build, "-t", "deps"))
        self.sources = {b: self._sources_of(b) for b in self.binaries}
        self.objects = {}
        for node, files in self.headers.items():
            for f in files + self.edges.get(node, ([], []))[0]:
                relative = self._relative(f)
                if relative:
                    self.objects.setdefault(relative, set()).add(node)
        self.names = {b: re.compile(r'["/]' + re.escape(b[len("bin/"):]) + r'(?=["\s])')
                               for b in self.binaries}
        self._texts = {}
        self.runtime = self._runtime()

    def _relative(self, node):
        """The tree-relative path of a source node, or None for a generated
        or system file."""
        path = Path(os.path.normpath(os.path.join(self.build, node)))
        try:
            relative = path.relative_to(self.src)
        except ValueError:
            return None
        return None if relative.parts[0] == "build" else relative.as_posix()

    def _closure(self, start, order_only):
        seen = set()
        pending = [start]
        while pending:
            node = pending.pop()
            if node in seen:
                continue
            seen.add(node)
            inputs, order = self.edges.get(node, ([], []))
            pending.extend(inputs)
            if order_only:
                pending.extend(order)
        return seen

    def _sources_of(self, binary):
        """The tree's files compiled into a binary, headers included."""
        found = set()
        for node in self._closure(binary, order_only=False):
            for f in [node] + self.headers.get(node, []):
                relative = self._relative(f)
                if relative:
                    found.add(relative)
        return found

    def _runtime(self):
        """{binary: the binaries it needs at run time, itself included}."""
        spelled = {}
        for b in self.binaries:
            spelled[b] = set().union(*(self.spelled_in(f) for f in self.sources[b])) - {b}
        direct = {b: {n for n in self._closure(b, order_only=True) if n in self.names} | spelled[b]
                  for b in self.binaries}
        runtime = {}
        for b in self.binaries:
            seen, pending = set(), [b]
            while pending:
                node = pending.pop()
                if node not in seen:
                    seen.add(node)
                    pending.extend(direct.get(node, ()))
            runtime[b] = seen
        return runtime

    def text(self, path):
        """A file of the tree without its comments."""
        if path not in self._texts:
            try:
                self._texts[path] = COMMENT.sub(" ", (self.src / path).read_text(encoding="utf-8", errors="replace"))
            except OSError:
                self._texts[path] = ""
        return self._texts[path]

    def spelled_in(self, path):
        """The binaries whose file names a file of the tree spells outside
        its comments."""
        return {b for b, name in self.names.items() if name.search(self.text(path))}

    def with_programs(self, binaries):
        """The binaries and everything the programs among them run."""
        found = set(binaries)
        for b in binaries:
            found |= self.runtime.get(b, set())
        return found

    def rebuilt_by(self, path):
        """(objects compiled from or including the file, binaries holding it)."""
        return sorted(self.objects.get(path, ())), [b for b in self.binaries if path in self.sources[b]]

"""Results of a run: one JSON line per mutant, the report, and the
comparison of two runs on the same sample.

Each line holds the mutant (`fields`), its verdict (`state`, `by` the
killing test), the source line as it was (`text`, so a later tree where the
line moved still finds it), the tests run and the seconds taken.
"""

import dataclasses
import json

from mutants import Mutant


def folder_of(path):
    return path.split("/", 1)[0]


def record(repo, mutant, state, by, ran, seconds):
    try:
        lines = (repo / mutant.path).read_text(encoding="utf-8", errors="replace").split("\n")
        text = lines[mutant.line - 1] if mutant.line <= len(lines) else None
    except OSError:
        text = None
    return {"mutant": mutant.key, "where": f"{mutant.path}:{mutant.line}", "change": mutant.describe(),
            "state": state, "by": by, "fields": dataclasses.asdict(mutant), "text": text, "tests": ran,
            "seconds": round(seconds, 1)}


def load(path):
    """[(mutant, state, by, text)] of a results file; the state is None for
    a line that only names a mutant. A later line of the same mutant wins."""
    found = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if not line.strip():
                continue
            try:
                entry = json.loads(line)
            except json.JSONDecodeError:
                continue  # the last line of a run cut off while writing
            m = Mutant(**entry["fields"])
            found[m.key] = (m, entry.get("state"), entry.get("by", ""), entry.get("text"))
    return list(found.values())


def relocate(repo, mutant, text):
    """The mutant moved to where its source line is now: in the same file,
    the nearest copy of the line to where it was; else, when the file is gone
    or no longer holds the line (code split into new files), the one file of
    the same folder that holds it. Unchanged when the line is still in its
    place or is found nowhere (the run then calls it stale)."""
    if text is None:
        return mutant

    def lines_of(path):
        try:
            return (repo / path).read_text(encoding="utf-8", errors="replace").split("\n")
        except OSError:
            return []

    lines = lines_of(mutant.path)
    if mutant.line <= len(lines) and lines[mutant.line - 1] == text:
        return mutant
    places = [i + 1 for i, line in enumerate(lines) if line == text]
    if places:
        return dataclasses.replace(mutant, line=min(places, key=lambda n: abs(n - mutant.line)))
    folder = (repo / mutant.path).parent
    found = []
    for other in sorted(folder.glob("*")):
        if other.suffix in (".cpp", ".h", ".c") and other.is_file():
            path = other.relative_to(repo).as_posix()
            found += [(path, i + 1) for i, line in enumerate(lines_of(path)) if line == text]
    if len({path for path, _ in found}) != 1:
        return mutant
    path, line = found[0]
    return dataclasses.replace(mutant, path=path, line=line)


def counts(results, folder=None):
    chosen = [s for m, s, _ in results if folder is None or folder_of(m.path) == folder]
    return chosen.count("killed"), chosen.count("survived"), chosen.count("unbuildable")


def score(killed, survived):
    return f"{100 * killed / (killed + survived):.0f} %" if killed + survived else "-"


def report(results, out):
    print("\nfolder      killed  survived  unbuildable  score", file=out)
    for folder in sorted({folder_of(m.path) for m, _, _ in results}) + [None]:
        k, s, u = counts(results, folder)
        print(f"{folder or 'all':<11} {k:>6}  {s:>8}  {u:>11}  {score(k, s):>5}", file=out)
    survivors = sorted((m for m, s, _ in results if s == "survived"), key=lambda m: (m.path, m.line, m.column))
    if survivors:
        print("\nsurviving mutants:", file=out)
        for m in survivors:
            print(f"  {m.path}:{m.line}: {m.describe()}", file=out)


def compare(before, after, out):
    """Scores per folder of both runs over the mutants both ran, and the
    mutants whose verdict changed. A mutant is the same in both when its
    folder, source line, column and change are (its line number may differ,
    and so may its file, when code moved to another file of the folder)."""

    def identity(m, text):
        return (folder_of(m.path), text, m.column, m.kind, m.new) if text is not None else m.key

    old = {identity(m, t): (m, s, by) for m, s, by, t in before if s}
    new = {identity(m, t): (m, s, by) for m, s, by, t in after if s}
    both = [k for k in old if k in new]
    print(f"{len(both)} mutants in both runs ({len(old) - len(both)} only before, "
          f"{len(new) - len(both)} only after)", file=out)
    print("\nfolder      before  (killed/survived)   after  (killed/survived)", file=out)
    pairs_old = [old[k] for k in both]
    pairs_new = [new[k] for k in both]
    for folder in sorted({folder_of(m.path) for m, _, _ in pairs_old}) + [None]:
        k0, s0, _ = counts(pairs_old, folder)
        k1, s1, _ = counts(pairs_new, folder)
        print(f"{folder or 'all':<11} {score(k0, s0):>6}  ({k0:>3}/{s0:<3})          {score(k1, s1):>6}  "
              f"({k1:>3}/{s1:<3})", file=out)
    lost = [(old[k], new[k]) for k in both if old[k][1] == "killed" and new[k][1] == "survived"]
    won = [(old[k], new[k]) for k in both if old[k][1] == "survived" and new[k][1] == "killed"]
    print(f"\nkilled before, surviving after ({len(lost)}):", file=out)
    for (m, _, by), _ in sorted(lost, key=lambda p: (p[0][0].path, p[0][0].line)):
        print(f"  {m.path}:{m.line}: {m.describe()} (was killed by {by})", file=out)
    print(f"\nsurviving before, killed after ({len(won)}):", file=out)
    for _, (m, _, by) in sorted(won, key=lambda p: (p[1][0].path, p[1][0].line)):
        print(f"  {m.path}:{m.line}: {m.describe()} (killed by {by})", file=out)

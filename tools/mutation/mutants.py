"""The mutants of a source file: deterministic, one small change each.

A mutant is a relational, logical or arithmetic operator swapped, a
condition negated, an integer constant off by one, true and false swapped,
or a one-line call or assignment removed. Comments, string literals and the
lines that only report (trace, log) are left alone.
"""

import dataclasses
import re

# Lines that only report (trace, log, viewer) are not worth mutating.
REPORTING = re.compile(r"\b(TraceOut|TraceToViewer|qDebug|qInfo|qWarning|qCritical|fprintf|std::cerr)\b")
SKIPPED_LINES = re.compile(r"^\s*(#|static_assert\b|namespace\b|using\b|template\b|//)")


@dataclasses.dataclass(frozen=True)
class Mutant:
    path: str  # relative to the repository
    line: int  # 1-based
    column: int  # 0-based, in the original line
    old: str
    new: str
    kind: str

    @property
    def key(self) -> str:
        return f"{self.path}:{self.line}:{self.column}:{self.kind}"

    def describe(self) -> str:
        if self.kind == "remove":
            return f"removed `{self.old.strip()}`"
        return f"`{self.old.strip()}` -> `{self.new.strip()}`"


def mask_code(lines):
    """Yields each line with comments, string and character literals blanked
    (same length, so columns stay), carrying block comments across lines."""
    in_block = False
    for text in lines:
        out = []
        i = 0
        while i < len(text):
            if in_block:
                end = text.find("*/", i)
                if end < 0:
                    out.append(" " * (len(text) - i))
                    i = len(text)
                else:
                    out.append(" " * (end + 2 - i))
                    i = end + 2
                    in_block = False
                continue
            c = text[i]
            if text.startswith("//", i):
                out.append(" " * (len(text) - i))
                break
            if text.startswith("/*", i):
                in_block = True
                continue
            if text.startswith('R"', i):
                # Raw strings in this tree are single-line.
                end = text.find(')"', i)
                stop = len(text) if end < 0 else end + 2
                out.append(" " * (stop - i))
                i = stop
                continue
            if c in "\"'":
                j = i + 1
                while j < len(text) and text[j] != c:
                    j += 2 if text[j] == "\\" else 1
                j = min(j + 1, len(text))
                out.append(c + " " * (j - i - 2) + c if j - i >= 2 else " " * (j - i))
                i = j
                continue
            out.append(c)
            i += 1
        yield "".join(out)


OPERATORS = [
    (" < ", " <= ", "relational"),
    (" <= ", " < ", "relational"),
    (" > ", " >= ", "relational"),
    (" >= ", " > ", "relational"),
    (" == ", " != ", "relational"),
    (" != ", " == ", "relational"),
    (" && ", " || ", "logical"),
    (" || ", " && ", "logical"),
    (" + ", " - ", "arithmetic"),
    (" - ", " + ", "arithmetic"),
    (" * ", " / ", "arithmetic"),
    (" / ", " * ", "arithmetic"),
    (" += ", " -= ", "arithmetic"),
    (" -= ", " += ", "arithmetic"),
]
INTEGER = re.compile(r"(?<![\w.'])(\d+)(?![\w.'])")
BOOLEAN = re.compile(r"\b(true|false)\b")
CONDITION = re.compile(r"\b(if|while)\s*\(")
NOT = re.compile(r"!(?!=)")
STATEMENT = re.compile(
    r"^\s*(?:[A-Za-z_][\w:.\[\]]*(?:->[\w\[\]]+)*\s*(?:[-+*/|&]?=(?!=)\s*.+|\(.*\)|\.\w+\(.*\))"
    r"|[A-Za-z_][\w:]*(?:(?:\.|->)\w+)*\(.*\));\s*$")
NOT_STATEMENT = re.compile(r"^\s*(return|const|auto|static|constexpr|case|default|break|continue|delete|throw)\b")


def closing_paren(code, start):
    depth = 0
    for i in range(start, len(code)):
        if code[i] == "(":
            depth += 1
        elif code[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def mutants_of_file(root, path):
    text = (root / path).read_text(encoding="utf-8", errors="replace")
    lines = text.split("\n")
    found = []
    reporting = False
    previous = ";"
    for index, (line, code) in enumerate(zip(lines, mask_code(lines))):
        number = index + 1
        if REPORTING.search(code):
            reporting = not code.rstrip().endswith(";")
            continue
        if reporting:
            reporting = not code.rstrip().endswith(";")
            continue
        if not code.strip():
            continue
        if SKIPPED_LINES.match(code):
            previous = ";"
            continue

        def add(column, old, new, kind):
            found.append(Mutant(path, number, column, old, new, kind))

        for old, new, kind in OPERATORS:
            for m in re.finditer(re.escape(old), code):
                add(m.start(), old, new, kind)
        for m in INTEGER.finditer(code):
            value = int(m.group(1))
            add(m.start(), m.group(1), str(value + 1), "constant")
            if value > 0:
                add(m.start(), m.group(1), str(value - 1), "constant")
        for m in BOOLEAN.finditer(code):
            add(m.start(), m.group(1), "false" if m.group(1) == "true" else "true", "boolean")
        for m in CONDITION.finditer(code):
            open_at = m.end() - 1
            close_at = closing_paren(code, open_at)
            # A condition that declares a variable cannot be negated.
            if close_at > open_at + 1 and not re.search(r"[^=!<>]=[^=]", code[open_at:close_at]):
                old = line[open_at:close_at + 1]
                add(open_at, old, "(!" + old + ")", "condition")
        for m in NOT.finditer(code):
            if m.start() > 0 and code[m.start() - 1] in "!=<>":
                continue
            add(m.start(), "!", "", "condition")
        # Only a whole statement is removed, never the tail of a longer one.
        starts_statement = previous.rstrip().endswith((";", "{", "}", ":", ")"))
        if (starts_statement and STATEMENT.match(code) and not NOT_STATEMENT.match(code)
                and code.count("(") == code.count(")")):
            add(0, line, re.match(r"\s*", line).group(0) + ";", "remove")
        previous = code
    return found


def apply(source, mutant):
    lines = source.split("\n")
    line = lines[mutant.line - 1]
    if mutant.kind == "remove":
        lines[mutant.line - 1] = mutant.new
    else:
        assert line[mutant.column:mutant.column + len(mutant.old)] == mutant.old, mutant
        lines[mutant.line - 1] = line[:mutant.column] + mutant.new + line[mutant.column + len(mutant.old):]
    return "\n".join(lines)

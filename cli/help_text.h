#pragma once

#include <string_view>

namespace trawlex::cli {

inline constexpr std::string_view kUsageLine =
    "usage: trawlex-grep [--mode normal|wildcard|regex|word] [--binary] [--ext LIST]\n"
    "                    [--no-subfolders] [--format text|tsv|jsonl] [--color WHEN]\n"
    "                    [--count] [--in code|comment|string]...\n"
    "                    [--encoding auto|cp932|utf-8] [--office yes|no] [-j N]\n"
    "                    [--] SEARCH PATH...\n";

inline constexpr std::string_view kHelpText = R"help(
Searches VB6/VBA source (or any text) for SEARCH and prints one row per matching line,
with the procedure that encloses the line and its scope word.

PATH is a folder, a file, a pipe, a VB project (.vbp) or a project group (.vbg).
Folders are walked files first, then subfolders, each in byte order of the name; symbolic
links to folders are not followed. A file named as PATH is searched whatever its
extension. Files are read as UTF-8 or UTF-16 when they carry a BOM, as UTF-8 when they
are valid UTF-8 holding at least one character of three or four bytes (or only ASCII),
and as CP932 (Shift_JIS) otherwise (see --encoding). Lines end at CR LF or at a lone LF.
Pipes, devices and other entries that are not regular files are left out of folders.

A PATH ending in .vbp or .vbg (any case) is searched as the VB IDE shows the project:
each module it lists, in the project's order (a group's projects in the group's order),
with the form or class header and the Attribute lines left out. The name is then the
module's name (its VB_Name) and line numbers are those of the IDE's code window. A module
that cannot be read is reported and the rest are searched.

An Office document (.xls .xla .xlt .doc .dot .ppt .pot .pps and the macro-enabled
.xlsm .xlam .xltm .xlsb .docm .dotm .pptm .ppsm .potm .ppam, any case), named as PATH or
met in a folder, is searched through the VBA modules it holds, without Office: each
module as the Visual Basic Editor shows it (Attribute lines left out, the editor's line
numbers), decoded from the project's code page. Its rows are named by the document's path
and the module, joined by '|': "Book1.xlsm|Module1" (a VBA module name never holds '|').
A document without a VBA project gives no rows. An encrypted or damaged document is
reported and the search goes on.

Leading and trailing spaces of SEARCH are ignored; an empty SEARCH finds nothing.

Options:
  --mode normal     plain text (the default). Without --binary it ignores upper/lower
                    case (also Greek, Cyrillic and full-width letters), full-width and
                    half-width forms (ＡＢＣ = ABC, ｶﾞ = ガ) and hiragana/katakana
                    (かな = カナ). A voiced kana never equals its unvoiced one.
  --mode wildcard   VB Like pattern matched anywhere in the line: ? one character,
                    * any run, # one digit, [list] [!list] [a-z] one character;
                    [[] [*] [?] [#] for the literal characters. Without --binary both
                    sides are lower-cased, hiragana made katakana and full-width made
                    half-width first. An invalid pattern matches nothing.
  --mode regex      regular expression (ECMAScript/VBScript-like, \w \d \b ASCII only);
                    case-insensitive without --binary. An invalid pattern is reported
                    and nothing is searched. A line on which the expression would need
                    too much work (more than a few milliseconds) is reported as not
                    tested.
  --mode word       whole words: SEARCH between characters other than ASCII letters,
                    digits, '_' and '|'; words separated by spaces are alternatives.
  --encoding auto   how files without a BOM are read: detected as described above
                    (the default), or always as cp932 or always as utf-8 (invalid
                    bytes shown as U+FFFD), also for a .vbp or .vbg and its modules.
  --binary          exact comparison: case, width and kana type count.
  --ext LIST        only files with these extensions, e.g. --ext bas,cls,frm
                    (compared without regard to case; '*' means every file, the default).
                    Not applied to the modules of a .vbp or .vbg PATH.
  --no-subfolders   search only the files directly inside each folder PATH.
  --office no       search Office documents as bytes, like any other file
                    (--office yes, searching their VBA modules, is the default).
  --format text     name:line:procedure: content (the default; coloured as --color
                    says, control characters shown as ^X on a terminal).
  --format tsv      name, line, procedure, scope, content separated by tabs; inside a
                    field a backslash is written \\, a tab \t, a line feed \n and a
                    carriage return \r.
  --format jsonl    one JSON object per row, UTF-8:
                    {"name":…,"line":N,"procedure":…,"scope":…,"content":…,
                     "spans":[[start,end],…]}
                    with "module":… after "name" for a module of an Office document
                    ("name" is then the document's path); spans: the matched parts, in
                    code points into content.
  --color WHEN      auto (the default: colour on a terminal unless NO_COLOR is set),
                    always or never; the matched parts of the text format are shown
                    in bold red.
  --count           instead of the rows, "name:N" for every file or module with rows,
                    in walk order ("path|module" for a module of an Office document).
  --in WHERE        keep a line only if a match lies in code (outside comments and
                    strings), in a comment (' or Rem to the end of the line, and the
                    lines a comment continues onto with " _") or in a string literal
                    ("…", "" for a quote); repeat to allow several. Default: anywhere.
                    Only the matches that lie there are marked (--color, spans).
  -j N              search N files at once (default: one per processor). The rows and
                    messages are the same, in the same order, whatever N is.
  --help            show this text.

The name is the file's path as reached from PATH (a module's name for a project). The procedure is "(Declarations)" before
the first procedure, the procedure's name inside one, and empty between procedures.
Rows come in walk order.

The last line on stderr is the run's status: "<N> 件みつかりました" (N rows found) or
"見つかりませんでした" (nothing found). A PATH, folder or file that cannot be read, a line
that could not be tested and an invalid pattern are reported on stderr as
"エラーが発生しました:<description>" as they happen, and the search goes on with the rest
(an invalid pattern ends it). On a terminal, control characters in these lines are shown
as ^X.

Exit status: 0 when rows were found, 1 when none were, 2 on a usage error, when the
output could not be written, or when anything was reported as above (after every row
found has been printed), as grep does.
)help";

}  // namespace trawlex::cli

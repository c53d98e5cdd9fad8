#!/usr/bin/env python3
"""Writes a deterministic corpus of VB6-like source for the grep benchmarks.

The mix of a real VB6 tree: CR LF source (.bas, .cls, .frm) with Japanese comments and
strings in CP932 (full-width punctuation, U+3000 and full-width letters among them), some
files in plain ASCII and some in UTF-8 with a BOM; beside the forms their .frx files, and
per project a few .ocx/.dll-like binaries, with long runs free of LF bytes. About a fifth
of the bytes are binary. About 50 MB over 2,000 source files in 100 project folders. The
same seed gives the same bytes on every machine, so timings can be compared across runs.
"""

import argparse
import os
import random
import shutil
import sys

SEED = 20261207
VERSION = "3"  # bump when the output changes, so an old corpus is rebuilt

NOUNS = ["Customer", "Order", "Invoice", "Item", "Stock", "Staff", "Report", "Account",
         "Record", "Field", "Value", "Count", "Total", "Amount", "Date", "Name", "Code",
         "Status", "Buffer", "Index", "Row", "Column", "Sheet", "Form", "Grid"]
VERBS = ["Get", "Set", "Load", "Save", "Update", "Delete", "Find", "Check", "Calc",
         "Print", "Show", "Init", "Clear", "Read", "Write", "Open", "Close", "Add"]
TYPES = ["Long", "String", "Integer", "Boolean", "Double", "Variant", "Date", "Currency"]
SCOPES = ["Public", "Private", "Private", "Friend", ""]
JP_WORDS = ["顧客", "データ", "検索", "更新", "削除", "登録", "一覧", "画面", "帳票", "請求書",
            "売上", "在庫", "商品", "担当者", "処理", "開始", "終了", "エラー", "確認", "設定",
            "ファイル", "読み込み", "書き込み", "日付", "金額", "合計", "件数", "取得", "表示",
            "初期化", "ｺｰﾄﾞ", "ﾃﾞｰﾀ", "ｶﾅ", "マスタ", "伝票", "社員", "部署", "～", "①"]
# Full-width punctuation, U+3000 and full-width letters, as Japanese comments hold them.
JP_WIDE = ["：", "（", "）", "　", "「", "」", "！", "？", "、", "ＯＫ", "ＩＤ", "ＤＢ", "Ｎｏ．",
           "ＣＳＶ", "Ｅｘｃｅｌ", "１", "２０", "＝", "＋", "／", "　　"]
JP_TAILS = ["を行います", "を取得します", "が見つかりません", "してください", "の確認",
            "に失敗しました", "を表示する", "です", "。", "（暫定）", "が必要です", "をチェック"]


def jp_phrase(rng):
    words = rng.choices(JP_WORDS, k=rng.randint(1, 3))
    if rng.random() < 0.1:
        words.insert(rng.randrange(len(words) + 1), rng.choice(JP_WIDE))
    return "".join(words) + rng.choice(JP_TAILS)


# What English-commented modules say instead.
EN_PHRASES = ["check the input", "load the record", "TODO: remove", "save and close",
              "see the order sheet", "returns the total", "error handling", "temporary"]


def en_phrase(rng):
    return rng.choice(EN_PHRASES)


def ident(rng):
    return rng.choice(NOUNS).lower()[:3] + rng.choice(NOUNS)


def statement(rng, proc, indent, phrase):
    pad = " " * indent
    kind = rng.randrange(13)
    if kind == 0:
        return [f"{pad}' {phrase(rng)}"]
    if kind == 1:
        return [f"{pad}Dim {ident(rng)} As {rng.choice(TYPES)}"]
    if kind == 2:
        return [f'{pad}{ident(rng)} = "{phrase(rng)}"']
    if kind == 3:
        return [f"{pad}{ident(rng)} = {ident(rng)} + {rng.randint(0, 999)}"]
    if kind == 4:
        name = rng.choice(VERBS) + rng.choice(NOUNS)
        return [f"{pad}Call {name}({ident(rng)}, {rng.randint(1, 99)})"]
    if kind == 5:
        return [f'{pad}MsgBox "{phrase(rng)}", vbExclamation, "{phrase(rng)}"']
    if kind == 6:
        var = ident(rng)
        return [f"{pad}If {var} = {rng.randint(0, 9)} Then",
                f"{pad}    {proc} = {var}  ' {phrase(rng)}",
                f"{pad}End If"]
    if kind == 7:
        return [f"{pad}For i = 1 To {rng.randint(2, 500)}",
                f"{pad}    {ident(rng)}(i) = rs.Fields(\"{rng.choice(NOUNS)}\").Value",
                f"{pad}Next i"]
    if kind == 8:
        return [f"{pad}Debug.Print \"{rng.choice(NOUNS)}:\" & {ident(rng)}"]
    if kind == 9:
        return [f"{pad}Set {ident(rng)} = New cls{rng.choice(NOUNS)}"]
    if kind == 10:
        return [f"{pad}{ident(rng)} = Format$({ident(rng)}, \"yyyy/mm/dd\")   Rem {phrase(rng)}"]
    if kind == 11 and rng.random() < 0.05:
        return [f"{pad}lRet = GdipCreateBitmapFromScan0({ident(rng)}, {ident(rng)}, 0, "
                f"PixelFormat32bppARGB, ByVal 0&, hBitmap)"]
    return [""]


def procedure(rng, phrase):
    scope = rng.choice(SCOPES)
    head = (scope + " ") if scope else ""
    name = rng.choice(VERBS) + rng.choice(NOUNS) + str(rng.randint(1, 40))
    kind = rng.randrange(5)
    args = f"ByVal {ident(rng)} As {rng.choice(TYPES)}"
    lines = [f"' {phrase(rng)}"]
    if kind <= 1:
        lines.append(f"{head}Sub {name}({args})")
        end = "End Sub"
    elif kind <= 3:
        lines.append(f"{head}Function {name}({args}) As {rng.choice(TYPES)}")
        end = "End Function"
    else:
        lines.append(f"{head}Property Get {name}() As {rng.choice(TYPES)}")
        end = "End Property"
    lines.append("    On Error GoTo ErrHandler")
    for _ in range(rng.randint(4, 30)):
        lines.extend(statement(rng, name, 4, phrase))
    lines += ["    Exit " + end.split()[1], "ErrHandler:",
              f'    MsgBox "{phrase(rng)}" & Err.Description', end, ""]
    return lines


def module(rng, kind, name, target_size, encoding):
    """One module's bytes: `encoding` is cp932, ascii (English comments) or utf-8-sig."""
    phrase = en_phrase if encoding == "ascii" else jp_phrase
    if kind == "frm":
        lines = ["VERSION 5.00", f"Begin VB.Form {name}",
                 f'   Caption         =   "{phrase(rng)}"',
                 f'   Picture         =   "{name}.frx":0000',
                 "   ClientHeight    =   3195", "   ClientWidth     =   4680", "End"]
    elif kind == "cls":
        lines = ["VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END"]
    else:
        lines = []
    lines += [f'Attribute VB_Name = "{name}"', "Option Explicit", f"' {phrase(rng)}",
              'Private Declare Function GetTickCount Lib "kernel32" () As Long',
              f"Private m_{ident(rng)} As {rng.choice(TYPES)}", ""]
    if rng.random() < 0.1:
        lines.insert(-1, 'Private Declare Function GdipCreateBitmapFromScan0 Lib "gdiplus" '
                         '(ByVal w As Long, ByVal h As Long, ByVal stride As Long, '
                         'ByVal fmt As Long, scan0 As Any, bitmap As Long) As Long')
    size = sum(len(line) for line in lines)
    while size < target_size:
        proc = procedure(rng, phrase)
        lines += proc
        size += sum(len(line) + 2 for line in proc)
    text = "\r\n".join(lines) + "\r\n"
    return text.encode(encoding)


# Names a binary holds as ASCII (exports, imports, type library text) and as UTF-16.
BINARY_NAMES = [b"DllGetClassObject", b"DllRegisterServer", b"GdipCreateBitmapFromScan0",
                b"VB5!6&vb6ja.dll", b"MSVBVM60.DLL", b"Private", b"Dim", b"CalcTotal", b"Form",
                b"Stock", b"kernel32", b"GetTickCount"]


def binary(rng, size):
    """.frx/.ocx-like bytes: compressed-looking runs without LF (many KB), runs of zeros,
    names in ASCII and UTF-16, and now and then an LF."""
    parts = []
    written = 0
    while written < size:
        kind = rng.randrange(10)
        if kind < 6:
            run = rng.randbytes(rng.randint(2_000, 40_000)).replace(b"\n", b"\x8a")
        elif kind < 8:
            run = b"\0" * rng.randint(16, 4_000)
        elif kind == 8:
            name = rng.choice(BINARY_NAMES)
            run = b"\0" + (name.decode().encode("utf-16-le") if rng.random() < 0.5 else name)
        else:
            run = b"\n"
        parts.append(run)
        written += len(run)
    return b"".join(parts)[:size]


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    return len(data)


def build(out_dir, files, total_mb):
    rng = random.Random(SEED)
    source_bytes = total_mb * 1_000_000 * 0.8
    binary_bytes = total_mb * 1_000_000 * 0.2
    mean = source_bytes / files
    per_project = 20
    projects = (files + per_project - 1) // per_project
    forms = []
    written = 0
    for n in range(files):
        project = os.path.join(out_dir, f"Project{n // per_project + 1:03d}")
        os.makedirs(project, exist_ok=True)
        kind = rng.choices(["bas", "cls", "frm"], weights=[5, 3, 2])[0]
        prefix = {"bas": "mod", "cls": "cls", "frm": "frm"}[kind]
        name = f"{prefix}{rng.choice(NOUNS)}{n:04d}"
        encoding = rng.choices(["cp932", "ascii", "utf-8-sig"], weights=[7, 2, 1])[0]
        # The encoded size runs a little over the character count, hence 0.9.
        data = module(rng, kind, name, int(mean * rng.uniform(0.4, 1.6) * 0.9), encoding)
        written += write(os.path.join(project, f"{name}.{kind}"), data)
        if kind == "frm":
            forms.append(os.path.join(project, f"{name}.frx"))
    # Half the binary bytes in the forms' .frx files, half in a few controls per project.
    for path in forms:
        written += write(path, binary(rng, int(binary_bytes / 2 / len(forms) * rng.uniform(0.2, 1.8))))
    for p in range(projects):
        folder = os.path.join(out_dir, f"Project{p + 1:03d}", "bin")
        os.makedirs(folder, exist_ok=True)
        for k, ext in enumerate(["ocx", "dll"]):
            size = int(binary_bytes / 4 / projects * rng.uniform(0.2, 1.8))
            written += write(os.path.join(folder, f"ctl{k}.{ext}"), binary(rng, size))
    return written


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "corpus"))
    parser.add_argument("--files", type=int, default=2000)
    parser.add_argument("--mb", type=float, default=50)
    args = parser.parse_args()

    out = os.path.abspath(args.out)
    stamp = os.path.join(out, ".corpus-stamp")
    wanted = f"{VERSION} {SEED} {args.files} {args.mb}\n"
    if os.path.exists(stamp) and open(stamp).read() == wanted:
        print(f"corpus up to date: {out}")
        return 0
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    written = build(out, args.files, args.mb)
    with open(stamp, "w") as f:
        f.write(wanted)
    print(f"wrote {args.files} files, {written / 1e6:.1f} MB to {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

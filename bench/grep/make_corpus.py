#!/usr/bin/env python3
"""Writes a deterministic corpus of VB6-like source for the grep benchmarks.

CRLF line ends, comments and string literals in Japanese, encoded in CP932; about 50 MB
over 2,000 files (.bas, .cls, .frm) in 100 project folders. The same seed gives the same
bytes on every machine, so timings can be compared across runs.
"""

import argparse
import os
import random
import shutil
import sys

SEED = 20261207
VERSION = "1"  # bump when the output changes, so an old corpus is rebuilt

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
JP_TAILS = ["を行います", "を取得します", "が見つかりません", "してください", "の確認",
            "に失敗しました", "を表示する", "です", "。", "（暫定）", "が必要です", "をチェック"]


def jp_phrase(rng):
    words = rng.choices(JP_WORDS, k=rng.randint(1, 3))
    return "".join(words) + rng.choice(JP_TAILS)


def ident(rng):
    return rng.choice(NOUNS).lower()[:3] + rng.choice(NOUNS)


def statement(rng, proc, indent):
    pad = " " * indent
    kind = rng.randrange(12)
    if kind == 0:
        return [f"{pad}' {jp_phrase(rng)}"]
    if kind == 1:
        return [f"{pad}Dim {ident(rng)} As {rng.choice(TYPES)}"]
    if kind == 2:
        return [f'{pad}{ident(rng)} = "{jp_phrase(rng)}"']
    if kind == 3:
        return [f"{pad}{ident(rng)} = {ident(rng)} + {rng.randint(0, 999)}"]
    if kind == 4:
        name = rng.choice(VERBS) + rng.choice(NOUNS)
        return [f"{pad}Call {name}({ident(rng)}, {rng.randint(1, 99)})"]
    if kind == 5:
        return [f'{pad}MsgBox "{jp_phrase(rng)}", vbExclamation, "{rng.choice(JP_WORDS)}"']
    if kind == 6:
        var = ident(rng)
        return [f"{pad}If {var} = {rng.randint(0, 9)} Then",
                f"{pad}    {proc} = {var}  ' {jp_phrase(rng)}",
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
        return [f"{pad}{ident(rng)} = Format$({ident(rng)}, \"yyyy/mm/dd\")   Rem {jp_phrase(rng)}"]
    return [""]


def procedure(rng):
    scope = rng.choice(SCOPES)
    head = (scope + " ") if scope else ""
    name = rng.choice(VERBS) + rng.choice(NOUNS) + str(rng.randint(1, 40))
    kind = rng.randrange(5)
    args = f"ByVal {ident(rng)} As {rng.choice(TYPES)}"
    lines = [f"' {jp_phrase(rng)}"]
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
        lines.extend(statement(rng, name, 4))
    lines += ["    Exit " + end.split()[1], "ErrHandler:",
              f'    MsgBox "{jp_phrase(rng)}" & Err.Description', end, ""]
    return lines


def module(rng, kind, name, target_size):
    if kind == "frm":
        lines = ["VERSION 5.00", f"Begin VB.Form {name}",
                 f'   Caption         =   "{jp_phrase(rng)}"',
                 "   ClientHeight    =   3195", "   ClientWidth     =   4680", "End"]
    elif kind == "cls":
        lines = ["VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END"]
    else:
        lines = []
    lines += [f'Attribute VB_Name = "{name}"', "Option Explicit", f"' {jp_phrase(rng)}",
              'Private Declare Function GetTickCount Lib "kernel32" () As Long',
              f"Private m_{ident(rng)} As {rng.choice(TYPES)}", ""]
    size = sum(len(line) for line in lines)
    while size < target_size:
        proc = procedure(rng)
        lines += proc
        size += sum(len(line) + 2 for line in proc)
    return ("\r\n".join(lines) + "\r\n").encode("cp932")


def build(out_dir, files, total_mb):
    rng = random.Random(SEED)
    mean = total_mb * 1_000_000 / files
    per_project = 20
    written = 0
    for n in range(files):
        project = os.path.join(out_dir, f"Project{n // per_project + 1:03d}")
        os.makedirs(project, exist_ok=True)
        kind = rng.choices(["bas", "cls", "frm"], weights=[5, 3, 2])[0]
        prefix = {"bas": "mod", "cls": "cls", "frm": "frm"}[kind]
        name = f"{prefix}{rng.choice(NOUNS)}{n:04d}"
        # The encoded size runs a little over the character count, hence 0.9.
        data = module(rng, kind, name, int(mean * rng.uniform(0.4, 1.6) * 0.9))
        with open(os.path.join(project, f"{name}.{kind}"), "wb") as f:
            f.write(data)
        written += len(data)
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

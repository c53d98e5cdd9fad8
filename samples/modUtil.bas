Attribute VB_Name = "modUtil"
'----------------------------------------------------------
' 文字列処理の共通関数
' 帳票の桁合わせは ANSI のバイト数で数える（全角は 2 桁）
'----------------------------------------------------------
Option Explicit

Private lineSub As Currency ' 明細の小計（集計中だけ使う）

' 全角英数を半角に変換する。ＡＢＣ１２３ → ABC123
Public Function ToNarrow(ByVal text As String) As String
    ToNarrow = StrConv(text, vbNarrow)
End Function

' 半角カナを全角に変換する。ｶﾞｲﾄﾞ → ガイド
Public Function ToWide(ByVal text As String) As String
    ToWide = StrConv(text, vbWide)
End Function

' 表示幅（ANSI バイト数）
Public Function ByteWidth(ByVal text As String) As Long
    ByteWidth = LenB(StrConv(text, vbFromUnicode))
End Function

' 指定した幅になるまで右側を空白で埋める
Public Function PadRight(ByVal text As String, ByVal width As Long) As String
    Dim rest As Long
    rest = width - ByteWidth(text)
    If rest > 0 Then
        PadRight = text & Space$(rest)
    Else
        PadRight = text
    End If
End Function

' 金額を "\1,234" の形にする
Public Function FormatYen(ByVal amount As Currency) As String
    FormatYen = "\" & Format$(amount, "#,##0")
End Function

Public Sub ResetTotals()
    lineSub = 0
End Sub

Public Sub AddToTotal(ByVal amount As Currency)
    lineSub = lineSub + amount
End Sub

Public Property Get RunningTotal() As Currency
    RunningTotal = lineSub
End Property

' 手で編集された古いコードの名残り（小文字のまま残っている）
sub legacyDump(byval text as string)
    debug.print "legacy: " & text
end sub

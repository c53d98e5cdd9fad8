Attribute VB_Name = "modMain"
'==========================================================
' 在庫管理サンプル  標準モジュール
' 起動処理、共通の定数と Windows API の宣言
'==========================================================
Option Explicit

Private Declare Function GetTickCount Lib "kernel32" () As Long
Private Declare Sub Sleep Lib "kernel32" (ByVal dwMilliseconds As Long)
Public Declare Function GetPrivateProfileString Lib "kernel32" Alias "GetPrivateProfileStringA" _
    (ByVal lpApplicationName As String, ByVal lpKeyName As Any, ByVal lpDefault As String, _
     ByVal lpReturnedString As String, ByVal nSize As Long, ByVal lpFileName As String) As Long

Public Const APP_TITLE As String = "在庫管理 ～ Sample №1"
Public Const MAX_ITEMS As Long = 500
Public Const LOW_STOCK As Long = 10

Public gInventory As clsInventory
Private mStartTick As Long
Private mLastSub As String ' 最後に呼ばれた処理名（ログ用）

Rem 起動時に最初に呼ばれる
Sub Main()
    mStartTick = GetTickCount()
    Set gInventory = New clsInventory
    LoadSampleData
    mLastSub = "Main"
    frmMain.Show
End Sub

' 表示用の見出しを返す（表示件数を含む）
Public Function CaptionText(ByVal itemCount As Long) As String
    CaptionText = APP_TITLE & " - 表示件数: " & CStr(itemCount) & " 件"
End Function

Private Sub LoadSampleData()
    ' 初期データ: 全角の ＡＢＣ と半角の ｶﾞｲﾄﾞ を混ぜておく
    gInventory.Add "A-001", "ボールペン（黒）", 120, 80
    gInventory.Add "A-002", "ＡＢＣノート", 45, 150
    gInventory.Add "B-010", "ｶﾞｲﾄﾞﾌﾞｯｸ", 3, 1200
    gInventory.Add "C-100", "能率手帳", 0, 980
    gInventory.Add "C-200", "ソフトケース①", 12, 450
End Sub

Friend Function ElapsedMs() As Long
    ElapsedMs = GetTickCount() - mStartTick
End Function

Static Sub CountCalls()
    Dim calls As Long
    calls = calls + 1
    Debug.Print "CountCalls: " & calls
End Sub

Public Sub Pause(ByVal ms As Long)
    If ms <= 0 Then Exit Sub
    Sleep ms ' Rem: Sleep はミリ秒単位
End Sub

Public Sub NoOp(): End Sub

' 設定ファイルから値を読む。見つからなければ既定値を返す
Public Function ReadSetting(ByVal section As String, ByVal key As String, _
                            Optional ByVal defaultValue As String = "") As String
    Dim buffer As String
    Dim length As Long
    buffer = String$(256, vbNullChar)
    length = GetPrivateProfileString(section, key, defaultValue, buffer, Len(buffer), _
                                     App.Path & "\sample.ini")
    ReadSetting = Left$(buffer, length)
End Function

VERSION 5.00
Begin VB.Form frmMain 
   BorderStyle     =   1  '固定(実線)
   Caption         =   "在庫管理"
   ClientHeight    =   4560
   ClientLeft      =   45
   ClientTop       =   330
   ClientWidth     =   6720
   BeginProperty Font 
      Name            =   "ＭＳ Ｐゴシック"
      Size            =   9
      Charset         =   128
      Weight          =   400
      Underline       =   0   'False
      Italic          =   0   'False
      Strikethrough   =   0   'False
   EndProperty
   LinkTopic       =   "Form1"
   MaxButton       =   0   'False
   MinButton       =   0   'False
   ScaleHeight     =   4560
   ScaleWidth      =   6720
   StartUpPosition =   2  '画面の中央
   Begin VB.CommandButton cmdRemove 
      Caption         =   "削除(&D)"
      Height          =   375
      Left            =   5400
      TabIndex        =   3
      Top             =   600
      Width           =   1215
   End
   Begin VB.CommandButton cmdAdd 
      Caption         =   "追加(&A)"
      Default         =   -1  'True
      Height          =   375
      Left            =   5400
      TabIndex        =   2
      Top             =   120
      Width           =   1215
   End
   Begin VB.TextBox txtName 
      Height          =   330
      IMEMode         =   4  '全角ひらがな
      Left            =   1560
      TabIndex        =   1
      Top             =   120
      Width           =   3615
   End
   Begin VB.TextBox txtCode 
      Height          =   330
      IMEMode         =   3  'ｵﾌ固定
      Left            =   120
      MaxLength       =   5
      TabIndex        =   0
      Top             =   120
      Width           =   1335
   End
   Begin VB.ListBox lstItems 
      Height          =   3300
      Left            =   120
      TabIndex        =   4
      Top             =   600
      Width           =   5175
   End
   Begin VB.Label lblTotal 
      Caption         =   "合計金額："
      Height          =   255
      Left            =   120
      TabIndex        =   5
      Top             =   4080
      Width           =   5175
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
' 在庫一覧の画面
Option Explicit

Private WithEvents mInventory As clsInventory
Attribute mInventory.VB_VarHelpID = -1

Private Sub Form_Load()
    Set mInventory = gInventory
    Me.Caption = CaptionText(mInventory.Count)
    RefreshList
End Sub

Private Sub cmdAdd_Click()
    If Len(Trim$(txtCode.Text)) = 0 Then
        MsgBox "商品コードを入力してください。", vbExclamation, APP_TITLE
        txtCode.SetFocus
        Exit Sub
    End If
    mInventory.Add txtCode.Text, txtName.Text, 1, 0
    RefreshList
End Sub

Private Sub cmdRemove_Click()
    If lstItems.ListIndex < 0 Then Exit Sub
    If MsgBox("選択した商品を削除しますか？", vbYesNo + vbQuestion, APP_TITLE) = vbNo Then Exit Sub
    mInventory.RemoveItem Trim$(Left$(lstItems.Text, 8))
End Sub

Private Sub mInventory_ItemRemoved(ByVal code As String)
    RefreshList
End Sub

' 一覧と合計金額を表示し直す
Private Sub RefreshList()
    Dim entry As clsItem
    lstItems.Clear
    For Each entry In mInventory
        lstItems.AddItem entry.ToDisplay()
    Next
    lblTotal.Caption = "合計金額：" & FormatYen(mInventory.TotalAmount())
    Me.Caption = CaptionText(mInventory.Count)
End Sub

Private Sub Form_QueryUnload(Cancel As Integer, UnloadMode As Integer)
    Set mInventory = Nothing
End Sub

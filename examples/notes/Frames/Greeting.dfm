object GreetingFrame: TGreetingFrame
  Left = 0
  Top = 0
  Width = 280
  Height = 50
  TabOrder = 0
  object GreetingLabel: TLabel
    Left = 4
    Top = 4
    Width = 160
    Height = 13
    Caption = 'Grüße aus Köln'
  end
  object WaveButton: TButton
    Left = 196
    Top = 12
    Width = 75
    Height = 25
    Hint = #1055#1088#1080#1074#1077#1090
    Caption = 'Winken'
    ShowHint = True
    TabOrder = 0
  end
end

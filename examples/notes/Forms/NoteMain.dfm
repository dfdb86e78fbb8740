object NoteWindow: TNoteWindow
  Left = 192
  Top = 114
  Width = 480
  Height = 360
  Caption = 'Notizbuch f'#252'r alle'
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  object TitleLabel: TLabel
    Left = 8
    Top = 8
    Width = 120
    Height = 13
    Caption = 'Meine Notizen'
  end
  object NoteMemo: TMemo
    Left = 8
    Top = 28
    Width = 456
    Height = 200
    Lines.Strings = (
      'Einkaufsliste:'
      '- Brot und K‰se')
    TabOrder = 0
  end
  object SaveButton: TButton
    Left = 304
    Top = 296
    Width = 75
    Height = 25
    Caption = '&Speichern'
    TabOrder = 1
    OnClick = SaveButtonClick
  end
  object CloseButton: TButton
    Left = 388
    Top = 296
    Width = 75
    Height = 25
    Caption = 'Schlieﬂen'
    ModalResult = 2
    TabOrder = 2
  end
  inline GreetingFrame1: TGreetingFrame
    Left = 8
    Top = 236
    Width = 280
    Height = 50
    TabOrder = 3
    inherited GreetingLabel: TLabel
      Caption = 'Willkommen zur'#252'ck!'
    end
  end
end

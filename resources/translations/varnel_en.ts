<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="ja_JP">
<context>
    <name>Varnel</name>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>S.BUSベーシック設定</source>
        <translation>S.BUS basic settings</translation>
    </message>
    <message>
        <source>チャンネル設定</source>
        <translation>Channels</translation>
    </message>
    <message>
        <source>ガバナーベーシック設定</source>
        <translation>Governor basic settings</translation>
    </message>
    <message>
        <source>ガバナー動作</source>
        <translation>Governor</translation>
    </message>
    <message>
        <source>ガバナーON/OFFスイッチ</source>
        <translation>Gov. ON/OFF switch</translation>
    </message>
    <message>
        <source>サーボ選択</source>
        <translation>Servo type</translation>
    </message>
    <message>
        <source>制御レスポンス</source>
        <translation>Control response</translation>
    </message>
    <message>
        <source>ガバナーエクスパート設定</source>
        <translation>Governor expert settings</translation>
    </message>
    <message>
        <source>ガバナーワーキングモード</source>
        <translation>Working mode</translation>
    </message>
    <message>
        <source>回転数表示モード</source>
        <translation>RPM display</translation>
    </message>
    <message>
        <source>スロットルデータモード</source>
        <translation>Throttle data mode</translation>
    </message>
    <message>
        <source>サーボリミットポイント設定</source>
        <translation>Servo limit points</translation>
    </message>
    <message>
        <source>テレメトリー</source>
        <translation>Telemetry</translation>
    </message>
    <message>
        <source>通信</source>
        <translation>Bus</translation>
    </message>
    <message>
        <source>CAN通信</source>
        <translation>CAN bus</translation>
    </message>
    <message>
        <source>有効</source>
        <translation>On</translation>
    </message>
    <message>
        <source>無効</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>デジタルサーボ</source>
        <translation>Digital</translation>
    </message>
    <message>
        <source>アナログサーボ</source>
        <translation>Analog</translation>
    </message>
    <message>
        <source>メインローター</source>
        <translation>Main rotor</translation>
    </message>
    <message>
        <source>エンジン</source>
        <translation>Engine</translation>
    </message>
    <message>
        <source>レブリミットモード</source>
        <translation>Rev limit</translation>
    </message>
    <message>
        <source>ガバナーモード</source>
        <translation>Governor</translation>
    </message>
    <message>
        <source>Moderate</source>
        <translation>Moderate</translation>
    </message>
    <message>
        <source>Middle</source>
        <translation>Middle</translation>
    </message>
    <message>
        <source>Quick</source>
        <translation>Quick</translation>
    </message>
    <message>
        <source>Silent</source>
        <translation>Silent</translation>
    </message>
    <message>
        <source>Optimize</source>
        <translation>Optimize</translation>
    </message>
    <message>
        <source>Fixed</source>
        <translation>Fixed</translation>
    </message>
    <message>
        <source>Tx.Curve</source>
        <translation>Tx.Curve</translation>
    </message>
    <message>
        <source>ACT</source>
        <translation>ACT</translation>
    </message>
    <message>
        <source>INH</source>
        <translation>INH</translation>
    </message>
    <message>
        <source>S.BUS2</source>
        <translation>S.BUS2</translation>
    </message>
    <message>
        <source>RS485</source>
        <translation>RS485</translation>
    </message>
    <message>
        <source>回転数設定1</source>
        <translation>Target RPM 1</translation>
    </message>
    <message>
        <source>回転数設定2</source>
        <translation>Target RPM 2</translation>
    </message>
    <message>
        <source>回転数設定3</source>
        <translation>Target RPM 3</translation>
    </message>
    <message>
        <source>ギヤ比設定</source>
        <translation>Gear ratio</translation>
    </message>
    <message>
        <source>ポールナンバー</source>
        <translation>Pole number</translation>
    </message>
    <message>
        <source>フィードフォワードサイクリック</source>
        <translation>Feed-forward cyclic</translation>
    </message>
    <message>
        <source>ガバナーゲイン</source>
        <translation>Governor gain</translation>
    </message>
    <message>
        <source>ガバナーオン回転数設定</source>
        <translation>Governor-on RPM</translation>
    </message>
    <message>
        <source>ローリミットアイドルアップ</source>
        <translation>Low limit idle-up</translation>
    </message>
    <message>
        <source>ローリミットホバリング</source>
        <translation>Low limit hover</translation>
    </message>
    <message>
        <source>回転数アップディレー</source>
        <translation>RPM up delay</translation>
    </message>
    <message>
        <source>回転数ダウンディレー</source>
        <translation>RPM down delay</translation>
    </message>
    <message>
        <source>スタートディレー</source>
        <translation>Start delay</translation>
    </message>
    <message>
        <source>スティックスイッチ</source>
        <translation>Stick switch</translation>
    </message>
    <message>
        <source>キルスイッチ</source>
        <translation>Kill switch</translation>
    </message>
    <message>
        <source>回転数</source>
        <translation>RPM</translation>
    </message>
    <message>
        <source>ガバナON/OFF</source>
        <translation>Gov. ON/OFF</translation>
    </message>
    <message>
        <source>CH1</source>
        <translation>CH1</translation>
    </message>
    <message>
        <source>CH2</source>
        <translation>CH2</translation>
    </message>
    <message>
        <source>CH3</source>
        <translation>CH3</translation>
    </message>
    <message>
        <source>CH4</source>
        <translation>CH4</translation>
    </message>
    <message>
        <source>CH5</source>
        <translation>CH5</translation>
    </message>
    <message>
        <source>CH6</source>
        <translation>CH6</translation>
    </message>
    <message>
        <source>CH7</source>
        <translation>CH7</translation>
    </message>
    <message>
        <source>CH8</source>
        <translation>CH8</translation>
    </message>
    <message>
        <source>サーボ位置</source>
        <translation>Servo position</translation>
    </message>
    <message>
        <source>リミットポイント1</source>
        <translation>Limit point 1</translation>
    </message>
    <message>
        <source>リミットポイント2</source>
        <translation>Limit point 2</translation>
    </message>
    <message>
        <source>リミットポイント1の向き</source>
        <translation>Limit point 1 side</translation>
    </message>
    <message>
        <source>リミットポイント2の向き</source>
        <translation>Limit point 2 side</translation>
    </message>
    <message>
        <source>入力</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>読み込み</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>書き込み</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Not using ID</source>
        <translation>Not using ID</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Frm</source>
        <translation>Frm</translation>
    </message>
    <message>
        <source>rpm</source>
        <translation>rpm</translation>
    </message>
    <message>
        <source>t</source>
        <translation>t</translation>
    </message>
    <message>
        <source>p</source>
        <translation>p</translation>
    </message>
    <message>
        <source>Varnel</source>
        <translation>Varnel</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>初期化(&amp;I)...</source>
        <translation>&amp;Initialize...</translation>
    </message>
    <message>
        <source>開く(&amp;O)...	Ctrl+O</source>
        <translation>&amp;Open...	Ctrl+O</translation>
    </message>
    <message>
        <source>保存(&amp;S)	Ctrl+S</source>
        <translation>&amp;Save	Ctrl+S</translation>
    </message>
    <message>
        <source>名前をつけて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>終了(&amp;X)	Alt+F4</source>
        <translation>E&amp;xit	Alt+F4</translation>
    </message>
    <message>
        <source>接続(&amp;C)</source>
        <translation>&amp;Connection</translation>
    </message>
    <message>
        <source>読み込み(&amp;R)	Ctrl+R</source>
        <translation>&amp;Read	Ctrl+R</translation>
    </message>
    <message>
        <source>書き込み(&amp;W)	Ctrl+W</source>
        <translation>&amp;Write	Ctrl+W</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About Varnel</translation>
    </message>
    <message>
        <source>Varnelのバージョン情報(&amp;A)...</source>
        <translation>&amp;About Varnel...</translation>
    </message>
    <message>
        <source>このデータはKelvoには使えません</source>
        <translation>This data cannot be used with the Kelvo.</translation>
    </message>
    <message>
        <source>読み込みエラー</source>
        <translation>Read error.</translation>
    </message>
    <message>
        <source>書き込みエラー</source>
        <translation>Write error.</translation>
    </message>
    <message>
        <source>データを書き込みました</source>
        <translation>The settings have been written.</translation>
    </message>
    <message>
        <source>データを初期化します。宜しいですか?</source>
        <translation>Reset the settings to the factory values?</translation>
    </message>
    <message>
        <source>ファイル </source>
        <translation>File </translation>
    </message>
    <message>
        <source> は既に存在します。上書きしますか?</source>
        <translation> already exists. Overwrite it?</translation>
    </message>
    <message>
        <source>ファイル %1 は既に存在します。上書きしますか?</source>
        <translation>The file %1 already exists. Overwrite it?</translation>
    </message>
    <message>
        <source>ディスクに十分な空き容量がありません</source>
        <translation>There is not enough free space on the disk.</translation>
    </message>
    <message>
        <source>不明なエラーです</source>
        <translation>Unknown error.</translation>
    </message>
    <message>
        <source>接続に成功しました</source>
        <translation>Connection succeeded.</translation>
    </message>
    <message>
        <source>QB-7のデバイスドライバがインストールされていません</source>
        <translation>The QB-7 device driver is not installed.</translation>
    </message>
    <message>
        <source>QB-7が接続されていません</source>
        <translation>The QB-7 is not connected.</translation>
    </message>
    <message>
        <source>QB-7が正常に動作していません</source>
        <translation>The QB-7 is not working properly.</translation>
    </message>
    <message>
        <source>リミットポイント1をセットして下さい</source>
        <translation>Set limit point 1.</translation>
    </message>
    <message>
        <source>リミットポイント2をセットして下さい</source>
        <translation>Set limit point 2.</translation>
    </message>
    <message>
        <source>書き込みボタンを押してください</source>
        <translation>Press the Write button.</translation>
    </message>
    <message>
        <source>設定範囲外です</source>
        <translation>Out of the setting range.</translation>
    </message>
    <message>
        <source>同じ方向にリミットポイントを設定することは出来ません</source>
        <translation>The two limit points cannot be on the same side.</translation>
    </message>
    <message>
        <source>リミット設定を中止しました</source>
        <translation>Limit point setting cancelled.</translation>
    </message>
    <message>
        <source>データがKelvoに書き込まれていません。終了する前に書き込みますか?</source>
        <translation>The settings have not been written to the Kelvo. Write them before exiting?</translation>
    </message>
    <message>
        <source>データの変更を破棄します。</source>
        <translation>Your changes to the settings will be discarded.</translation>
    </message>
    <message>
        <source>上</source>
        <translation>High</translation>
    </message>
    <message>
        <source>下</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>Version information Varnel</source>
        <translation>About Varnel</translation>
    </message>
    <message>
        <source>Kelvo governor settings</source>
        <translation>Kelvo governor settings</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Kelvo Files (*.gvx)</source>
        <translation>Kelvo Files (*.gvx)</translation>
    </message>
    <message>
        <source>Enter a positive integer.</source>
        <translation>Enter a positive integer.</translation>
    </message>
    <message>
        <source>Enter an integer.</source>
        <translation>Enter an integer.</translation>
    </message>
    <message>
        <source>Enter an integer between 0 and 65535.</source>
        <translation>Enter an integer between 0 and 65535.</translation>
    </message>
    <message>
        <source>Varnel  Ver.4.0</source>
        <translation>Varnel  Ver.4.0</translation>
    </message>
    <message>
        <source>%1 を開く権限がありません。ユーザーをdialoutグループに追加してから、ログインし直して下さい。Varnelと共にインストールされるudevルールは、ログイン中のユーザーにこの権限を与えます。</source>
        <translation>You may not open %1. Add your user to the dialout group, then log in again. The udev rule installed with Varnel gives this permission to the logged-in user.</translation>
    </message>
    <message>
        <source>%1 は他のプログラムが使用中です。そのプログラム(モデムマネージャ、点字ディスプレイのデーモンなど)を終了してから、もう一度起動して下さい。</source>
        <translation>%1 is in use by another program. Close that program (a modem manager, a braille display daemon or the like), then start Varnel again.</translation>
    </message>
</context>
</TS>

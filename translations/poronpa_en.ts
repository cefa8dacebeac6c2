<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Controls</name>
    <message>
        <source>十字キー・左スティック</source>
        <translation>D-pad, left stick</translation>
    </message>
    <message>
        <source>移動（上下左右のキーと同じ）</source>
        <translation>Move (like the arrow keys)</translation>
    </message>
    <message>
        <source>確認の画面で</source>
        <translation>In a question box</translation>
    </message>
    <message>
        <source>A で決定、B で取り消し、十字キーでボタンを選ぶ</source>
        <translation>A answers, B cancels, the D-pad picks a button</translation>
    </message>
    <message>
        <source>ゲーム中</source>
        <translation>In play</translation>
    </message>
    <message>
        <source>タイトル画面</source>
        <translation>On the title screen</translation>
    </message>
    <message>
        <source>項目を選ぶ（Enter で決める）</source>
        <translation>Pick an entry (Enter chooses it)</translation>
    </message>
    <message>
        <source>はじめから</source>
        <translation>New game</translation>
    </message>
    <message>
        <source>つづきから</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>設定から戻る</source>
        <translation>Back from the settings</translation>
    </message>
    <message>
        <source>ウィンドウ</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>この操作説明</source>
        <translation>These controls</translation>
    </message>
    <message>
        <source>全画面表示の切り替え</source>
        <translation>Toggle full screen</translation>
    </message>
    <message>
        <source>Ctrl と + / Ctrl と -</source>
        <translation>Ctrl and + / Ctrl and -</translation>
    </message>
    <message>
        <source>画面を大きく・小さく</source>
        <translation>Bigger / smaller window</translation>
    </message>
    <message>
        <source>Ctrl と 0</source>
        <translation>Ctrl and 0</translation>
    </message>
    <message>
        <source>画面を元の大きさに</source>
        <translation>Reset the window size</translation>
    </message>
    <message>
        <source>ゲームパッド</source>
        <translation>Gamepad</translation>
    </message>
    <message>
        <source>操作説明</source>
        <translation>Controls</translation>
    </message>
    <message>
        <source>歩く・泳ぐ（はしごやロープでは左右へ）</source>
        <translation>Walk, swim (sideways on ladders and ropes)</translation>
    </message>
    <message>
        <source>はしご・ロープを上り下りする</source>
        <translation>Climb up and down ladders and ropes</translation>
    </message>
    <message>
        <source>ジャンプ（水の中では泳ぎ上がる）</source>
        <translation>Jump (swim upwards in water)</translation>
    </message>
    <message>
        <source>ジャンプ（タイトル画面では 選んだ項目へ）</source>
        <translation>Jump (on the title: the chosen entry)</translation>
    </message>
    <message>
        <source>ロープを上に投げる（ロープを持っているとき）</source>
        <translation>Throw the rope up (once you have it)</translation>
    </message>
    <message>
        <source>ロープ（タイトル画面では つづきから、設定では戻る）</source>
        <translation>Rope (on the title: Continue; in the settings: Back)</translation>
    </message>
    <message>
        <source>セーブ（日記を持っているとき）</source>
        <translation>Save (once you have the diary)</translation>
    </message>
    <message>
        <source>セーブ</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>ロード（数字キーと一緒に押すと、その数だけ前のセーブ）</source>
        <translation>Load (with a digit: that many saves back)</translation>
    </message>
    <message>
        <source>ロード</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>タイトルに戻る</source>
        <translation>Back to the title</translation>
    </message>
</context>
<context>
    <name>Ending</name>
    <message>
        <source>ごめんなさい、ぽぷらんには</source>
        <translation>Sorry, but Popuran</translation>
    </message>
    <message>
        <source>エンディングはありません・・・</source>
        <translation>has no ending...</translation>
    </message>
    <message>
        <source>最後までプレイしていただき、</source>
        <translation>Thank you so much</translation>
    </message>
    <message>
        <source>本当にありがとうございます。</source>
        <translation>for playing to the very end!</translation>
    </message>
    <message>
        <source>ぜひ作者まで感想を</source>
        <translation>We would love to hear</translation>
    </message>
    <message>
        <source>お聞かせ下さい。</source>
        <translation>what you thought of it.</translation>
    </message>
    <message>
        <source>制作：ポロンパ工房</source>
        <translation>Made by Poronpa Workshop</translation>
    </message>
    <message>
        <source>感想はプロジェクトのページへ</source>
        <translation>Tell us on the project page!</translation>
    </message>
</context>
<context>
    <name>Items</name>
    <message>
        <source>青のカギ</source>
        <translation>Blue Key</translation>
    </message>
    <message>
        <source>緑のカギ</source>
        <translation>Green Key</translation>
    </message>
    <message>
        <source>赤のカギ</source>
        <translation>Red Key</translation>
    </message>
    <message>
        <source>黄のカギ</source>
        <translation>Yellow Key</translation>
    </message>
    <message>
        <source>ゼンボのにっきちょう</source>
        <translation>Zembo's Diary</translation>
    </message>
    <message>
        <source>ゼンボのジャンプ靴</source>
        <translation>Zembo's Jump Shoes</translation>
    </message>
    <message>
        <source>ゼンボの潜水帽</source>
        <translation>Zembo's Diving Helmet</translation>
    </message>
    <message>
        <source>ゼンボのロープ</source>
        <translation>Zembo's Rope</translation>
    </message>
    <message>
        <source>月見だんご</source>
        <translation>Moon Dumplings</translation>
    </message>
    <message>
        <source>すすき</source>
        <translation>Pampas Grass</translation>
    </message>
    <message>
        <source>これで青色のとびらが開くぞ！</source>
        <translation>Now the blue doors will open!</translation>
    </message>
    <message>
        <source>これで緑色のとびらが開くぞ！</source>
        <translation>Now the green doors will open!</translation>
    </message>
    <message>
        <source>これで赤色のとびらが開くぞ！</source>
        <translation>Now the red doors will open!</translation>
    </message>
    <message>
        <source>これで黄色のとびらが開くぞ！</source>
        <translation>Now the yellow doors will open!</translation>
    </message>
    <message>
        <source>Sキーでセーブが出来るぞ!</source>
        <translation>Press S to save your game!</translation>
    </message>
    <message>
        <source>これをはけば高くジャンプ出来るぞ!</source>
        <translation>Put these on and jump way up high!</translation>
    </message>
    <message>
        <source>これさえあれば水中でもへっちゃらだ!</source>
        <translation>With this on, water is no trouble at all!</translation>
    </message>
    <message>
        <source>かぎづめにひっかけて登ることができるぞ！</source>
        <translation>Hook it on and climb right up!</translation>
    </message>
    <message>
        <source>お月見にはひつようふかけつだ！</source>
        <translation>A must for moon-viewing!</translation>
    </message>
    <message>
        <source>これがないとお月見とは言わないぞ!</source>
        <translation>It's no moon-viewing without these!</translation>
    </message>
</context>
<context>
    <name>MapDesign</name>
    <message>
        <source>選択 %1</source>
        <translation>Selected %1</translation>
    </message>
    <message>
        <source>マップの変更が保存されていません。読み込む前に保存しますか？</source>
        <translation>The map has unsaved changes. Save them before loading?</translation>
    </message>
    <message>
        <source>マップファイルは、読み込みか保存のあとに別のところで書き換えられています。上書きしますか？</source>
        <translation>The map file was changed elsewhere after it was loaded or saved. Overwrite it?</translation>
    </message>
    <message>
        <source>「%1」は壊れているか読み込めないため、いま開いているのは同梱のワールドです。このファイルを編集中のマップで置き換えますか？</source>
        <translation>“%1” is damaged or cannot be read, so the world open now is the one that came with the game. Replace that file with the map being edited?</translation>
    </message>
    <message>
        <source>マップの変更が保存されていません。ゲームを始める前に保存しますか？</source>
        <translation>The map has unsaved changes. Save them before starting the game?</translation>
    </message>
    <message>
        <source>マップの変更が保存されていません。保存しますか？</source>
        <translation>The map has unsaved changes. Save them?</translation>
    </message>
    <message>
        <source>ペン</source>
        <translation>Pen</translation>
    </message>
    <message>
        <source>左ドラッグで塗る (Shift+ドラッグで範囲選択)</source>
        <translation>Left drag paints (Shift+drag selects)</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>左ドラッグで範囲を選ぶ</source>
        <translation>Left drag selects cells</translation>
    </message>
    <message>
        <source>左右反転</source>
        <translation>Flip</translation>
    </message>
    <message>
        <source>貼り付け中の形かペンを左右反転 (X)</source>
        <translation>Flip the stamp being pasted or the pen left to right (X)</translation>
    </message>
    <message>
        <source>テストプレイ</source>
        <translation>Test Play</translation>
    </message>
    <message>
        <source>持って始めるアイテム:</source>
        <translation>Start with these items:</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>ワールドの検査 - %1</source>
        <translation>World check - %1</translation>
    </message>
    <message>
        <source>検査を始めています…</source>
        <translation>Starting the check…</translation>
    </message>
    <message>
        <source>経路を再生</source>
        <translation>Play the route</translation>
    </message>
    <message>
        <source>経路を消す</source>
        <translation>Hide the route</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>キャンセルしています…</source>
        <translation>Cancelling…</translation>
    </message>
    <message>
        <source>調べた状態: %1</source>
        <translation>States looked at: %1</translation>
    </message>
    <message>
        <source>クリアできます</source>
        <translation>It can be cleared</translation>
    </message>
    <message>
        <source>キャンセルしました</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>クリアできません</source>
        <translation>It cannot be cleared</translation>
    </message>
    <message>
        <source>時間内に経路が見つかりませんでした</source>
        <translation>No route found in the time given</translation>
    </message>
    <message>
        <source>ワールド (*.ppw *.dat)</source>
        <translation>Worlds (*.ppw *.dat)</translation>
    </message>
    <message>
        <source>すべてのファイル (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>ワールドを開く</source>
        <translation>Open World</translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>新規(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>マップの変更が保存されていません。新しいワールドを始める前に保存しますか？</source>
        <translation>The map has unsaved changes. Save them before starting a new world?</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>最近使ったワールド(&amp;R)</source>
        <translation>&amp;Recent Worlds</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>標準のワールド</source>
        <translation>The game's own world</translation>
    </message>
    <message>
        <source>マップの変更が保存されていません。ほかのワールドを開く前に保存しますか？</source>
        <translation>The map has unsaved changes. Save them before opening another world?</translation>
    </message>
    <message>
        <source>ワールドを開けませんでした。</source>
        <translation>Couldn't open the world.</translation>
    </message>
    <message>
        <source>「%1」が見つからないため、最近使ったワールドの一覧から外しました。</source>
        <translation>“%1” could not be found, so it was taken off the list of recent worlds.</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>経路は保存できませんでした: %1
</source>
        <translation>Couldn't save the route: %1
</translation>
    </message>
</context>
<context>
    <name>MapEditor</name>
    <message>
        <source>範囲選択 %1×%2 マス</source>
        <translation>Selected %1×%2 cells</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copied</translation>
    </message>
    <message>
        <source>切り取り</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation>Pasting</translation>
    </message>
    <message>
        <source>左右反転</source>
        <translation>Flipped</translation>
    </message>
    <message>
        <source>%1 %2×%3 マス</source>
        <translation>%1 %2×%3 cells</translation>
    </message>
    <message>
        <source>列 %1 行 %2 — %3</source>
        <translation>Column %1 row %2 — %3</translation>
    </message>
    <message>
        <source>タイル %1: %2</source>
        <translation>Tile %1: %2</translation>
    </message>
    <message>
        <source>Replace の左の欄が空のため、何も置き換えていません。</source>
        <translation>Replace's left box is empty, so nothing was replaced.</translation>
    </message>
    <message>
        <source>Replace の右の欄が空のため、何も置き換えていません。</source>
        <translation>Replace's right box is empty, so nothing was replaced.</translation>
    </message>
    <message>
        <source>Replace に使えるのは 0 から 255 までのタイル番号です。「%1」は使えないため、何も置き換えていません。</source>
        <translation>Replace takes tile numbers from 0 to 255. “%1” is not one, so nothing was replaced.</translation>
    </message>
    <message>
        <source>Replace %1&gt;%2: %3 マスを置き換えました</source>
        <translation>Replace %1&gt;%2: %3 cells replaced</translation>
    </message>
    <message>
        <source>Save できませんでした</source>
        <translation>Couldn't save</translation>
    </message>
    <message>
        <source>クリップボードの文字はタイル番号の行ではありません</source>
        <translation>The clipboard's text is not rows of tile numbers</translation>
    </message>
</context>
<context>
    <name>Memos</name>
    <message>
        <source>城の上に行くには、城の中央部分から。</source>
        <translation>To get to the top of the castle, start from its middle.</translation>
    </message>
    <message>
        <source>すすきは、地中深くの大きな空洞の中に置く。</source>
        <translation>The pampas grass waits in a big cave deep underground.</translation>
    </message>
    <message>
        <source>ロープは、溶岩のはるか上に置く。</source>
        <translation>The rope waits high, high above the lava.</translation>
    </message>
    <message>
        <source>Ｒを上げるには、まず「よろ」のあいさつから。</source>
        <translation>To raise your rank, always start with a friendly "hiya!"</translation>
    </message>
    <message>
        <source>よく見つけたね。あんたはえらい！！</source>
        <translation>Nice find. You are a star!!</translation>
    </message>
    <message>
        <source>たからばこは　ひとくいばこだった！！　うそ。</source>
        <translation>This treasure box was a mimic!!  Just kidding.</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>セーブできませんでした。</source>
        <translation>Couldn't save.</translation>
    </message>
    <message>
        <source>ロードできませんでした。</source>
        <translation>Couldn't load.</translation>
    </message>
</context>
<context>
    <name>MissPhrases</name>
    <message>
        <source>のーん</source>
        <translation>Nooo</translation>
    </message>
    <message>
        <source>おこるでしかし</source>
        <translation>Now I'm mad!</translation>
    </message>
    <message>
        <source>なむでやねん</source>
        <translation>Oh, for heaven's sake!</translation>
    </message>
    <message>
        <source>やる気が　あるのか</source>
        <translation>Are you even trying?</translation>
    </message>
    <message>
        <source>キエー</source>
        <translation>Kyaaah!</translation>
    </message>
    <message>
        <source>アンタ</source>
        <translation>Hey, you!</translation>
    </message>
    <message>
        <source>ガミガミ</source>
        <translation>Nag nag nag</translation>
    </message>
    <message>
        <source>む</source>
        <translation>Hmph.</translation>
    </message>
    <message>
        <source>キミィ</source>
        <translation>Now see here...</translation>
    </message>
    <message>
        <source>困りますな</source>
        <translation>This won't do.</translation>
    </message>
    <message>
        <source>まいったねこりゃ</source>
        <translation>Well, that's a pickle.</translation>
    </message>
    <message>
        <source>イヤーン</source>
        <translation>Eek!</translation>
    </message>
    <message>
        <source>バブー</source>
        <translation>Goo goo!</translation>
    </message>
    <message>
        <source>もう君とはやっとれんわ</source>
        <translation>I'm done with you!</translation>
    </message>
    <message>
        <source>ウゥオオオオォォォォリィヤアアアアァァァァ</source>
        <translation>Wuooooooorryaaaaaaaaah!</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>BGM</source>
        <translation>BGM</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>ON</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>OFF</translation>
    </message>
    <message>
        <source>SE</source>
        <translation>SFX</translation>
    </message>
    <message>
        <source>戻 る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>タイマー</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>ゴースト</source>
        <translation>Ghost</translation>
    </message>
    <message>
        <source>ベストタイム（★ アイテムすべて）</source>
        <translation>Best times (★ every item)</translation>
    </message>
    <message>
        <source>まだ記録がありません</source>
        <translation>No times yet</translation>
    </message>
</context>
<context>
    <name>Questions</name>
    <message>
        <source>ロードしますか？</source>
        <translation>Load your game?</translation>
    </message>
    <message>
        <source>タイトルに戻りますか？</source>
        <translation>Back to the title?</translation>
    </message>
</context>
<context>
    <name>SidePanel</name>
    <message>
        <source>セーブしました</source>
        <translation>Saved!</translation>
    </message>
</context>
<context>
    <name>Title</name>
    <message>
        <source>F1 : 操作説明</source>
        <translation>F1 : Controls</translation>
    </message>
    <message>
        <source>はじめから</source>
        <translation>New Game</translation>
    </message>
    <message>
        <source>つづきから</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>設 定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>プレイ回数 : </source>
        <translation>Plays : </translation>
    </message>
    <message>
        <source>total %1 plays</source>
        <translation>total %1 plays</translation>
    </message>
    <message>
        <source>Please wait...</source>
        <translation>Please wait...</translation>
    </message>
    <message>
        <source>ワールド : %1</source>
        <translation>World : %1</translation>
    </message>
</context>
<context>
    <name>TreasureBox</name>
    <message>
        <source>たからばこ</source>
        <translation>Treasure Box</translation>
    </message>
    <message>
        <source>ポロンパ</source>
        <translation>Poronpa</translation>
    </message>
    <message>
        <source>お月見に必要なものが足りない！！</source>
        <translation>Something for the moon-viewing is still missing!!</translation>
    </message>
    <message>
        <source>メモが入っていた。</source>
        <translation>There was a note inside.</translation>
    </message>
    <message>
        <source>%1
を手に入れた!</source>
        <translation>You got
%1!</translation>
    </message>
    <message>
        <source>からっぽ!</source>
        <translation>Empty!</translation>
    </message>
</context>
</TS>

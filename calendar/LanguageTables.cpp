#include "calendar/UiLanguages.h"

// Every language sets all 56 texts in the order of the English table; lists keep their 7 and 12
// parts, shortcut texts their key names and the day titles their placeholders. The month strip's
// slots are one text line wide: they show the months' numbers, since one-letter initials (J, M, A
// ...) stand for several months in every language. Languages whose month names change after a day
// number (21 января, 21 stycznia, 21. ledna, 21. januára) give those forms as well, and those that
// write a full stop after a day number (21. ledna, 21. Januar, 21. januar) say so. Russian begins a
// month standing alone as a heading with a capital (Декабрь 2026). Chinese numbers its months in a
// date and writes the year first: 2026年12月11日, 2026年12月, 12月11日 星期五.

const std::vector<UiLanguage>& GetLanguageTables()
{
    static const std::vector<UiLanguage> languages = {
        {L"en", L"English",
         {
             L"[1] [2]st, [3]", // 0
             L"[1] [2]nd, [3]", // 1
             L"[1] [2]rd, [3]", // 2
             L"[1] [2]th, [3]", // 3
             L"Monday|Tuesday|Wednesday|Thursday|Friday|Saturday|Sunday", // 4
             L"Mon|Tue|Wed|Thu|Fri|Sat|Sun", // 5
             L"Failed to load pages", // 6
             L"Failed to load preview for this page", // 7
             L"Failed to open the page", // 8
             L"Error", // 9
             L"Installing Update...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"January|February|March|April|May|June|July|August|September|October|November|December", // 12
             L"Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec", // 13
             L"Day (Ctrl+3)", // 14
             L"Go to this Month (Ctrl+0)", // 15
             L"Go to this Week (Ctrl+0)", // 16
             L"Go to Today (Ctrl+0)", // 17
             L"Month (Ctrl+1)", // 18
             L"Next Day (Ctrl+Right Arrow)", // 19
             L"Next Month (Ctrl+Right Arrow)", // 20
             L"Next Week (Ctrl+Right Arrow)", // 21
             L"Previous Day (Ctrl+Left Arrow)", // 22
             L"Previous Month (Ctrl+Left Arrow)", // 23
             L"Previous Week (Ctrl+Left Arrow)", // 24
             L"Refresh (F5)", // 25
             L"Settings (Ctrl+S)", // 26
             L"Week (Ctrl+2)", // 27
             L"Untitled Notebook", // 28
             L"Untitled Page", // 29
             L"Untitled Section Group", // 30
             L"Untitled Section", // 31
             L"Continue >", // 32
             L"Created Date", // 33
             L"Extra Large", // 34
             L"Font Size", // 35
             L"Large", // 36
             L"Larger", // 37
             L"Medium", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"Small", // 40
             L"Very Small", // 41
             L"Language", // 42
             L"Last Modified Date", // 43
             L"All Notebooks", // 44
             L"Notebooks", // 45
             L"Selected Notebooks", // 46
             L"Other", // 47
             L"Please pick a language", // 48
             L"Run single instance", // 49
             L"Show page previews on hover", // 50
             L"Show Pages On", // 51
             L"Settings", // 52
             L"Back (Esc)", // 53
             L"Week starts with Monday", // 54
             L"Theme", // 55
         },
         nullptr, nullptr, true},
        {L"zh-CN", L"中文(简体)",
         {
             L"[1][2]日 [3]", // 0
             L"[1][2]日 [3]", // 1
             L"[1][2]日 [3]", // 2
             L"[1][2]日 [3]", // 3
             L"星期一|星期二|星期三|星期四|星期五|星期六|星期日", // 4
             L"周一|周二|周三|周四|周五|周六|周日", // 5
             L"无法加载页面", // 6
             L"无法加载此页面的预览", // 7
             L"无法打开此页面", // 8
             L"错误", // 9
             L"正在安装更新...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"一月|二月|三月|四月|五月|六月|七月|八月|九月|十月|十一月|十二月", // 12
             L"1月|2月|3月|4月|5月|6月|7月|8月|9月|10月|11月|12月", // 13
             L"日 (Ctrl+3)", // 14
             L"转到本月 (Ctrl+0)", // 15
             L"转到本周 (Ctrl+0)", // 16
             L"转到今天 (Ctrl+0)", // 17
             L"月 (Ctrl+1)", // 18
             L"后一天 (Ctrl+Right Arrow)", // 19
             L"下个月 (Ctrl+Right Arrow)", // 20
             L"下一周 (Ctrl+Right Arrow)", // 21
             L"前一天 (Ctrl+Left Arrow)", // 22
             L"上个月 (Ctrl+Left Arrow)", // 23
             L"上一周 (Ctrl+Left Arrow)", // 24
             L"刷新 (F5)", // 25
             L"设置 (Ctrl+S)", // 26
             L"周 (Ctrl+2)", // 27
             L"未命名笔记本", // 28
             L"无标题页", // 29
             L"未命名分区组", // 30
             L"未命名分区", // 31
             L"继续 >", // 32
             L"创建日期", // 33
             L"特大", // 34
             L"字号", // 35
             L"大", // 36
             L"较大", // 37
             L"中", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"小", // 40
             L"很小", // 41
             L"语言", // 42
             L"上次修改日期", // 43
             L"所有笔记本", // 44
             L"笔记本", // 45
             L"所选笔记本", // 46
             L"其他", // 47
             L"请选择一种语言", // 48
             L"仅运行单个实例", // 49
             L"鼠标悬停时显示页面预览", // 50
             L"页面显示依据", // 51
             L"设置", // 52
             L"返回 (Esc)", // 53
             L"每周从星期一开始", // 54
             L"主题", // 55
         },
         L"1月|2月|3月|4月|5月|6月|7月|8月|9月|10月|11月|12月", nullptr, false, L"日", L"1月|2月|3月|4月|5月|6月|7月|8月|9月|10月|11月|12月", nullptr, true, L"年"},
        {L"zh-TW", L"中文(繁體)",
         {
             L"[1][2]日 [3]", // 0
             L"[1][2]日 [3]", // 1
             L"[1][2]日 [3]", // 2
             L"[1][2]日 [3]", // 3
             L"星期一|星期二|星期三|星期四|星期五|星期六|星期日", // 4
             L"週一|週二|週三|週四|週五|週六|週日", // 5
             L"無法載入頁面", // 6
             L"無法載入此頁面的預覽", // 7
             L"無法開啟此頁面", // 8
             L"錯誤", // 9
             L"正在安裝更新...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"一月|二月|三月|四月|五月|六月|七月|八月|九月|十月|十一月|十二月", // 12
             L"1月|2月|3月|4月|5月|6月|7月|8月|9月|10月|11月|12月", // 13
             L"日 (Ctrl+3)", // 14
             L"移至本月 (Ctrl+0)", // 15
             L"移至本週 (Ctrl+0)", // 16
             L"移至今天 (Ctrl+0)", // 17
             L"月 (Ctrl+1)", // 18
             L"後一天 (Ctrl+Right Arrow)", // 19
             L"下個月 (Ctrl+Right Arrow)", // 20
             L"下一週 (Ctrl+Right Arrow)", // 21
             L"前一天 (Ctrl+Left Arrow)", // 22
             L"上個月 (Ctrl+Left Arrow)", // 23
             L"上一週 (Ctrl+Left Arrow)", // 24
             L"重新整理 (F5)", // 25
             L"設定 (Ctrl+S)", // 26
             L"週 (Ctrl+2)", // 27
             L"未命名的筆記本", // 28
             L"未命名的頁面", // 29
             L"未命名的節群組", // 30
             L"未命名的節", // 31
             L"繼續 >", // 32
             L"建立日期", // 33
             L"特大", // 34
             L"字型大小", // 35
             L"大", // 36
             L"較大", // 37
             L"中", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"小", // 40
             L"很小", // 41
             L"語言", // 42
             L"上次修改日期", // 43
             L"所有筆記本", // 44
             L"筆記本", // 45
             L"選取的筆記本", // 46
             L"其他", // 47
             L"請選擇語言", // 48
             L"只執行單一執行個體", // 49
             L"滑鼠停留時顯示頁面預覽", // 50
             L"頁面顯示依據", // 51
             L"設定", // 52
             L"返回 (Esc)", // 53
             L"每週從星期一開始", // 54
             L"佈景主題", // 55
         },
         L"1月|2月|3月|4月|5月|6月|7月|8月|9月|10月|11月|12月", nullptr, false, L"日", L"1月|2月|3月|4月|5月|6月|7月|8月|9月|10月|11月|12月", nullptr, true, L"年"},
        {L"cs", L"čeština",
         {
             L"[3] [2]. [1]", // 0
             L"[3] [2]. [1]", // 1
             L"[3] [2]. [1]", // 2
             L"[3] [2]. [1]", // 3
             L"pondělí|úterý|středa|čtvrtek|pátek|sobota|neděle", // 4
             L"po|út|st|čt|pá|so|ne", // 5
             L"Stránky se nepodařilo načíst", // 6
             L"Náhled této stránky se nepodařilo načíst", // 7
             L"Stránku se nepodařilo otevřít", // 8
             L"Chyba", // 9
             L"Instaluje se aktualizace...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"leden|únor|březen|duben|květen|červen|červenec|srpen|září|říjen|listopad|prosinec", // 12
             L"led|úno|bře|dub|kvě|čvn|čvc|srp|zář|říj|lis|pro", // 13
             L"Den (Ctrl+3)", // 14
             L"Přejít na tento měsíc (Ctrl+0)", // 15
             L"Přejít na tento týden (Ctrl+0)", // 16
             L"Přejít na dnešek (Ctrl+0)", // 17
             L"Měsíc (Ctrl+1)", // 18
             L"Další den (Ctrl+Right Arrow)", // 19
             L"Další měsíc (Ctrl+Right Arrow)", // 20
             L"Další týden (Ctrl+Right Arrow)", // 21
             L"Předchozí den (Ctrl+Left Arrow)", // 22
             L"Předchozí měsíc (Ctrl+Left Arrow)", // 23
             L"Předchozí týden (Ctrl+Left Arrow)", // 24
             L"Aktualizovat (F5)", // 25
             L"Nastavení (Ctrl+S)", // 26
             L"Týden (Ctrl+2)", // 27
             L"Poznámkový blok bez názvu", // 28
             L"Stránka bez názvu", // 29
             L"Skupina oddílů bez názvu", // 30
             L"Oddíl bez názvu", // 31
             L"Pokračovat >", // 32
             L"Datum vytvoření", // 33
             L"Extra velké", // 34
             L"Velikost písma", // 35
             L"Velké", // 36
             L"Větší", // 37
             L"Střední", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"Malé", // 40
             L"Velmi malé", // 41
             L"Jazyk", // 42
             L"Datum poslední změny", // 43
             L"Všechny poznámkové bloky", // 44
             L"Poznámkové bloky", // 45
             L"Vybrané poznámkové bloky", // 46
             L"Jiné", // 47
             L"Vyberte jazyk", // 48
             L"Spouštět jen jednu instanci", // 49
             L"Zobrazovat náhled stránky po najetí myší", // 50
             L"Zobrazit stránky podle", // 51
             L"Nastavení", // 52
             L"Zpět (Esc)", // 53
             L"Týden začíná pondělím", // 54
             L"Motiv", // 55
         },
         L"ledna|února|března|dubna|května|června|července|srpna|září|října|listopadu|prosince", nullptr, false, L"."},
        {L"nl", L"Nederlands",
         {
             L"[3] [2] [1]", // 0
             L"[3] [2] [1]", // 1
             L"[3] [2] [1]", // 2
             L"[3] [2] [1]", // 3
             L"maandag|dinsdag|woensdag|donderdag|vrijdag|zaterdag|zondag", // 4
             L"ma|di|wo|do|vr|za|zo", // 5
             L"Kan de pagina's niet laden", // 6
             L"Kan het voorbeeld van deze pagina niet laden", // 7
             L"Kan de pagina niet openen", // 8
             L"Fout", // 9
             L"Update wordt geïnstalleerd...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"januari|februari|maart|april|mei|juni|juli|augustus|september|oktober|november|december", // 12
             L"jan|feb|mrt|apr|mei|jun|jul|aug|sep|okt|nov|dec", // 13
             L"Dag (Ctrl+3)", // 14
             L"Naar deze maand (Ctrl+0)", // 15
             L"Naar deze week (Ctrl+0)", // 16
             L"Naar vandaag (Ctrl+0)", // 17
             L"Maand (Ctrl+1)", // 18
             L"Volgende dag (Ctrl+Right Arrow)", // 19
             L"Volgende maand (Ctrl+Right Arrow)", // 20
             L"Volgende week (Ctrl+Right Arrow)", // 21
             L"Vorige dag (Ctrl+Left Arrow)", // 22
             L"Vorige maand (Ctrl+Left Arrow)", // 23
             L"Vorige week (Ctrl+Left Arrow)", // 24
             L"Vernieuwen (F5)", // 25
             L"Instellingen (Ctrl+S)", // 26
             L"Week (Ctrl+2)", // 27
             L"Naamloos notitieblok", // 28
             L"Naamloze pagina", // 29
             L"Naamloze sectiegroep", // 30
             L"Naamloze sectie", // 31
             L"Doorgaan >", // 32
             L"Aanmaakdatum", // 33
             L"Extra groot", // 34
             L"Tekengrootte", // 35
             L"Groot", // 36
             L"Groter", // 37
             L"Normaal", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"Klein", // 40
             L"Zeer klein", // 41
             L"Taal", // 42
             L"Datum laatst gewijzigd", // 43
             L"Alle notitieblokken", // 44
             L"Notitieblokken", // 45
             L"Geselecteerde notitieblokken", // 46
             L"Overig", // 47
             L"Kies een taal", // 48
             L"Slechts één exemplaar uitvoeren", // 49
             L"Paginavoorbeeld tonen bij aanwijzen", // 50
             L"Pagina's tonen op", // 51
             L"Instellingen", // 52
             L"Terug (Esc)", // 53
             L"Week begint op maandag", // 54
             L"Thema", // 55
         }},
        {L"fr", L"Français",
         {
             L"[3] [2]er [1]", // 0
             L"[3] [2] [1]", // 1
             L"[3] [2] [1]", // 2
             L"[3] [2] [1]", // 3
             L"lundi|mardi|mercredi|jeudi|vendredi|samedi|dimanche", // 4
             L"lun.|mar.|mer.|jeu.|ven.|sam.|dim.", // 5
             L"Impossible de charger les pages", // 6
             L"Impossible de charger l'aperçu de cette page", // 7
             L"Impossible d'ouvrir la page", // 8
             L"Erreur", // 9
             L"Installation de la mise à jour...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"janvier|février|mars|avril|mai|juin|juillet|août|septembre|octobre|novembre|décembre", // 12
             L"janv.|févr.|mars|avr.|mai|juin|juil.|août|sept.|oct.|nov.|déc.", // 13
             L"Jour (Ctrl+3)", // 14
             L"Aller au mois en cours (Ctrl+0)", // 15
             L"Aller à la semaine en cours (Ctrl+0)", // 16
             L"Aller à aujourd'hui (Ctrl+0)", // 17
             L"Mois (Ctrl+1)", // 18
             L"Jour suivant (Ctrl+Right Arrow)", // 19
             L"Mois suivant (Ctrl+Right Arrow)", // 20
             L"Semaine suivante (Ctrl+Right Arrow)", // 21
             L"Jour précédent (Ctrl+Left Arrow)", // 22
             L"Mois précédent (Ctrl+Left Arrow)", // 23
             L"Semaine précédente (Ctrl+Left Arrow)", // 24
             L"Actualiser (F5)", // 25
             L"Paramètres (Ctrl+S)", // 26
             L"Semaine (Ctrl+2)", // 27
             L"Bloc-notes sans titre", // 28
             L"Page sans titre", // 29
             L"Groupe de sections sans titre", // 30
             L"Section sans titre", // 31
             L"Continuer >", // 32
             L"Date de création", // 33
             L"Très grande", // 34
             L"Taille du texte", // 35
             L"Grande", // 36
             L"Plus grande", // 37
             L"Moyenne", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"Petite", // 40
             L"Très petite", // 41
             L"Langue", // 42
             L"Date de dernière modification", // 43
             L"Tous les blocs-notes", // 44
             L"Blocs-notes", // 45
             L"Blocs-notes sélectionnés", // 46
             L"Autre", // 47
             L"Veuillez choisir une langue", // 48
             L"Exécuter une seule instance", // 49
             L"Afficher l'aperçu des pages au survol", // 50
             L"Afficher les pages selon", // 51
             L"Paramètres", // 52
             L"Retour (Esc)", // 53
             L"La semaine commence le lundi", // 54
             L"Thème", // 55
         }},
        {L"de", L"Deutsch",
         {
             L"[3], [2]. [1]", // 0
             L"[3], [2]. [1]", // 1
             L"[3], [2]. [1]", // 2
             L"[3], [2]. [1]", // 3
             L"Montag|Dienstag|Mittwoch|Donnerstag|Freitag|Samstag|Sonntag", // 4
             L"Mo|Di|Mi|Do|Fr|Sa|So", // 5
             L"Die Seiten konnten nicht geladen werden", // 6
             L"Die Vorschau dieser Seite konnte nicht geladen werden", // 7
             L"Die Seite konnte nicht geöffnet werden", // 8
             L"Fehler", // 9
             L"Update wird installiert...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"Januar|Februar|März|April|Mai|Juni|Juli|August|September|Oktober|November|Dezember", // 12
             L"Jan|Feb|Mär|Apr|Mai|Jun|Jul|Aug|Sep|Okt|Nov|Dez", // 13
             L"Tag (Ctrl+3)", // 14
             L"Zum aktuellen Monat (Ctrl+0)", // 15
             L"Zur aktuellen Woche (Ctrl+0)", // 16
             L"Zum heutigen Tag (Ctrl+0)", // 17
             L"Monat (Ctrl+1)", // 18
             L"Nächster Tag (Ctrl+Right Arrow)", // 19
             L"Nächster Monat (Ctrl+Right Arrow)", // 20
             L"Nächste Woche (Ctrl+Right Arrow)", // 21
             L"Vorheriger Tag (Ctrl+Left Arrow)", // 22
             L"Vorheriger Monat (Ctrl+Left Arrow)", // 23
             L"Vorherige Woche (Ctrl+Left Arrow)", // 24
             L"Aktualisieren (F5)", // 25
             L"Einstellungen (Ctrl+S)", // 26
             L"Woche (Ctrl+2)", // 27
             L"Unbenanntes Notizbuch", // 28
             L"Unbenannte Seite", // 29
             L"Unbenannte Abschnittsgruppe", // 30
             L"Unbenannter Abschnitt", // 31
             L"Weiter >", // 32
             L"Erstellungsdatum", // 33
             L"Sehr groß", // 34
             L"Schriftgröße", // 35
             L"Groß", // 36
             L"Größer", // 37
             L"Mittel", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"Klein", // 40
             L"Sehr klein", // 41
             L"Sprache", // 42
             L"Datum der letzten Änderung", // 43
             L"Alle Notizbücher", // 44
             L"Notizbücher", // 45
             L"Ausgewählte Notizbücher", // 46
             L"Andere", // 47
             L"Bitte wählen Sie eine Sprache", // 48
             L"Nur eine Instanz ausführen", // 49
             L"Seitenvorschau beim Darüberfahren anzeigen", // 50
             L"Seiten anzeigen am", // 51
             L"Einstellungen", // 52
             L"Zurück (Esc)", // 53
             L"Woche beginnt am Montag", // 54
             L"Design", // 55
         }, nullptr, nullptr, false, L"."},
        {L"it", L"Italiano",
         {
             L"[3] [2] [1]", // 0
             L"[3] [2] [1]", // 1
             L"[3] [2] [1]", // 2
             L"[3] [2] [1]", // 3
             L"lunedì|martedì|mercoledì|giovedì|venerdì|sabato|domenica", // 4
             L"lun|mar|mer|gio|ven|sab|dom", // 5
             L"Impossibile caricare le pagine", // 6
             L"Impossibile caricare l'anteprima di questa pagina", // 7
             L"Impossibile aprire la pagina", // 8
             L"Errore", // 9
             L"Installazione dell'aggiornamento...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"gennaio|febbraio|marzo|aprile|maggio|giugno|luglio|agosto|settembre|ottobre|novembre|dicembre", // 12
             L"gen|feb|mar|apr|mag|giu|lug|ago|set|ott|nov|dic", // 13
             L"Giorno (Ctrl+3)", // 14
             L"Vai a questo mese (Ctrl+0)", // 15
             L"Vai a questa settimana (Ctrl+0)", // 16
             L"Vai a oggi (Ctrl+0)", // 17
             L"Mese (Ctrl+1)", // 18
             L"Giorno successivo (Ctrl+Right Arrow)", // 19
             L"Mese successivo (Ctrl+Right Arrow)", // 20
             L"Settimana successiva (Ctrl+Right Arrow)", // 21
             L"Giorno precedente (Ctrl+Left Arrow)", // 22
             L"Mese precedente (Ctrl+Left Arrow)", // 23
             L"Settimana precedente (Ctrl+Left Arrow)", // 24
             L"Aggiorna (F5)", // 25
             L"Impostazioni (Ctrl+S)", // 26
             L"Settimana (Ctrl+2)", // 27
             L"Blocco appunti senza titolo", // 28
             L"Pagina senza titolo", // 29
             L"Gruppo di sezioni senza titolo", // 30
             L"Sezione senza titolo", // 31
             L"Continua >", // 32
             L"Data di creazione", // 33
             L"Molto grande", // 34
             L"Dimensione carattere", // 35
             L"Grande", // 36
             L"Più grande", // 37
             L"Medio", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"Piccolo", // 40
             L"Molto piccolo", // 41
             L"Lingua", // 42
             L"Data ultima modifica", // 43
             L"Tutti i blocchi appunti", // 44
             L"Blocchi appunti", // 45
             L"Blocchi appunti selezionati", // 46
             L"Altro", // 47
             L"Scegli una lingua", // 48
             L"Esegui una sola istanza", // 49
             L"Mostra l'anteprima delle pagine al passaggio del mouse", // 50
             L"Mostra le pagine in base a", // 51
             L"Impostazioni", // 52
             L"Indietro (Esc)", // 53
             L"La settimana inizia di lunedì", // 54
             L"Tema", // 55
         }},
        {L"nb", L"norsk",
         {
             L"[3] [2]. [1]", // 0
             L"[3] [2]. [1]", // 1
             L"[3] [2]. [1]", // 2
             L"[3] [2]. [1]", // 3
             L"mandag|tirsdag|onsdag|torsdag|fredag|lørdag|søndag", // 4
             L"man|tir|ons|tor|fre|lør|søn", // 5
             L"Kunne ikke laste inn sidene", // 6
             L"Kunne ikke laste inn forhåndsvisning av denne siden", // 7
             L"Kunne ikke åpne siden", // 8
             L"Feil", // 9
             L"Installerer oppdatering...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"januar|februar|mars|april|mai|juni|juli|august|september|oktober|november|desember", // 12
             L"jan|feb|mar|apr|mai|jun|jul|aug|sep|okt|nov|des", // 13
             L"Dag (Ctrl+3)", // 14
             L"Gå til denne måneden (Ctrl+0)", // 15
             L"Gå til denne uken (Ctrl+0)", // 16
             L"Gå til i dag (Ctrl+0)", // 17
             L"Måned (Ctrl+1)", // 18
             L"Neste dag (Ctrl+Right Arrow)", // 19
             L"Neste måned (Ctrl+Right Arrow)", // 20
             L"Neste uke (Ctrl+Right Arrow)", // 21
             L"Forrige dag (Ctrl+Left Arrow)", // 22
             L"Forrige måned (Ctrl+Left Arrow)", // 23
             L"Forrige uke (Ctrl+Left Arrow)", // 24
             L"Oppdater (F5)", // 25
             L"Innstillinger (Ctrl+S)", // 26
             L"Uke (Ctrl+2)", // 27
             L"Notatblokk uten navn", // 28
             L"Side uten tittel", // 29
             L"Inndelingsgruppe uten navn", // 30
             L"Inndeling uten navn", // 31
             L"Fortsett >", // 32
             L"Opprettelsesdato", // 33
             L"Ekstra stor", // 34
             L"Skriftstørrelse", // 35
             L"Stor", // 36
             L"Større", // 37
             L"Middels", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"Liten", // 40
             L"Svært liten", // 41
             L"Språk", // 42
             L"Dato for siste endring", // 43
             L"Alle notatblokker", // 44
             L"Notatblokker", // 45
             L"Valgte notatblokker", // 46
             L"Annet", // 47
             L"Velg et språk", // 48
             L"Kjør bare én forekomst", // 49
             L"Vis forhåndsvisning når pekeren holdes over en side", // 50
             L"Vis sider på", // 51
             L"Innstillinger", // 52
             L"Tilbake (Esc)", // 53
             L"Uken starter på mandag", // 54
             L"Tema", // 55
         }, nullptr, nullptr, false, L"."},
        {L"pl", L"Polski",
         {
             L"[3], [2] [1]", // 0
             L"[3], [2] [1]", // 1
             L"[3], [2] [1]", // 2
             L"[3], [2] [1]", // 3
             L"poniedziałek|wtorek|środa|czwartek|piątek|sobota|niedziela", // 4
             L"pon.|wt.|śr.|czw.|pt.|sob.|niedz.", // 5
             L"Nie udało się wczytać stron", // 6
             L"Nie udało się wczytać podglądu tej strony", // 7
             L"Nie udało się otworzyć strony", // 8
             L"Błąd", // 9
             L"Instalowanie aktualizacji...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"styczeń|luty|marzec|kwiecień|maj|czerwiec|lipiec|sierpień|wrzesień|październik|listopad|grudzień", // 12
             L"sty|lut|mar|kwi|maj|cze|lip|sie|wrz|paź|lis|gru", // 13
             L"Dzień (Ctrl+3)", // 14
             L"Przejdź do bieżącego miesiąca (Ctrl+0)", // 15
             L"Przejdź do bieżącego tygodnia (Ctrl+0)", // 16
             L"Przejdź do dzisiaj (Ctrl+0)", // 17
             L"Miesiąc (Ctrl+1)", // 18
             L"Następny dzień (Ctrl+Right Arrow)", // 19
             L"Następny miesiąc (Ctrl+Right Arrow)", // 20
             L"Następny tydzień (Ctrl+Right Arrow)", // 21
             L"Poprzedni dzień (Ctrl+Left Arrow)", // 22
             L"Poprzedni miesiąc (Ctrl+Left Arrow)", // 23
             L"Poprzedni tydzień (Ctrl+Left Arrow)", // 24
             L"Odśwież (F5)", // 25
             L"Ustawienia (Ctrl+S)", // 26
             L"Tydzień (Ctrl+2)", // 27
             L"Notes bez nazwy", // 28
             L"Strona bez tytułu", // 29
             L"Grupa sekcji bez nazwy", // 30
             L"Sekcja bez nazwy", // 31
             L"Dalej >", // 32
             L"Data utworzenia", // 33
             L"Bardzo duży", // 34
             L"Rozmiar czcionki", // 35
             L"Duży", // 36
             L"Większy", // 37
             L"Średni", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"Mały", // 40
             L"Bardzo mały", // 41
             L"Język", // 42
             L"Data ostatniej modyfikacji", // 43
             L"Wszystkie notesy", // 44
             L"Notesy", // 45
             L"Wybrane notesy", // 46
             L"Inne", // 47
             L"Wybierz język", // 48
             L"Uruchamiaj tylko jedno wystąpienie", // 49
             L"Pokazuj podgląd strony po wskazaniu myszą", // 50
             L"Pokazuj strony według", // 51
             L"Ustawienia", // 52
             L"Wstecz (Esc)", // 53
             L"Tydzień zaczyna się w poniedziałek", // 54
             L"Motyw", // 55
         },
         L"stycznia|lutego|marca|kwietnia|maja|czerwca|lipca|sierpnia|września|października|listopada|grudnia"},
        {L"pt-BR", L"Português (Brasil)",
         {
             L"[3], [2]º de [1]", // 0
             L"[3], [2] de [1]", // 1
             L"[3], [2] de [1]", // 2
             L"[3], [2] de [1]", // 3
             L"segunda-feira|terça-feira|quarta-feira|quinta-feira|sexta-feira|sábado|domingo", // 4
             L"seg|ter|qua|qui|sex|sáb|dom", // 5
             L"Falha ao carregar as páginas", // 6
             L"Falha ao carregar a visualização desta página", // 7
             L"Falha ao abrir a página", // 8
             L"Erro", // 9
             L"Instalando atualização...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"janeiro|fevereiro|março|abril|maio|junho|julho|agosto|setembro|outubro|novembro|dezembro", // 12
             L"jan|fev|mar|abr|mai|jun|jul|ago|set|out|nov|dez", // 13
             L"Dia (Ctrl+3)", // 14
             L"Ir para este mês (Ctrl+0)", // 15
             L"Ir para esta semana (Ctrl+0)", // 16
             L"Ir para hoje (Ctrl+0)", // 17
             L"Mês (Ctrl+1)", // 18
             L"Próximo dia (Ctrl+Right Arrow)", // 19
             L"Próximo mês (Ctrl+Right Arrow)", // 20
             L"Próxima semana (Ctrl+Right Arrow)", // 21
             L"Dia anterior (Ctrl+Left Arrow)", // 22
             L"Mês anterior (Ctrl+Left Arrow)", // 23
             L"Semana anterior (Ctrl+Left Arrow)", // 24
             L"Atualizar (F5)", // 25
             L"Configurações (Ctrl+S)", // 26
             L"Semana (Ctrl+2)", // 27
             L"Bloco de anotações sem título", // 28
             L"Página sem título", // 29
             L"Grupo de seções sem título", // 30
             L"Seção sem título", // 31
             L"Continuar >", // 32
             L"Data de criação", // 33
             L"Extra grande", // 34
             L"Tamanho da fonte", // 35
             L"Grande", // 36
             L"Maior", // 37
             L"Médio", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"Pequeno", // 40
             L"Muito pequeno", // 41
             L"Idioma", // 42
             L"Data da última modificação", // 43
             L"Todos os blocos de anotações", // 44
             L"Blocos de anotações", // 45
             L"Blocos de anotações selecionados", // 46
             L"Outro", // 47
             L"Escolha um idioma", // 48
             L"Executar uma única instância", // 49
             L"Mostrar visualização das páginas ao passar o mouse", // 50
             L"Mostrar páginas por", // 51
             L"Configurações", // 52
             L"Voltar (Esc)", // 53
             L"A semana começa na segunda-feira", // 54
             L"Tema", // 55
         }},
        {L"ru", L"Русский",
         {
             L"[3], [2] [1]", // 0
             L"[3], [2] [1]", // 1
             L"[3], [2] [1]", // 2
             L"[3], [2] [1]", // 3
             L"понедельник|вторник|среда|четверг|пятница|суббота|воскресенье", // 4
             L"пн|вт|ср|чт|пт|сб|вс", // 5
             L"Не удалось загрузить страницы", // 6
             L"Не удалось загрузить предварительный просмотр этой страницы", // 7
             L"Не удалось открыть страницу", // 8
             L"Ошибка", // 9
             L"Установка обновления...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"январь|февраль|март|апрель|май|июнь|июль|август|сентябрь|октябрь|ноябрь|декабрь", // 12
             L"янв|фев|мар|апр|май|июн|июл|авг|сен|окт|ноя|дек", // 13
             L"День (Ctrl+3)", // 14
             L"Перейти к текущему месяцу (Ctrl+0)", // 15
             L"Перейти к текущей неделе (Ctrl+0)", // 16
             L"Перейти к сегодняшнему дню (Ctrl+0)", // 17
             L"Месяц (Ctrl+1)", // 18
             L"Следующий день (Ctrl+Right Arrow)", // 19
             L"Следующий месяц (Ctrl+Right Arrow)", // 20
             L"Следующая неделя (Ctrl+Right Arrow)", // 21
             L"Предыдущий день (Ctrl+Left Arrow)", // 22
             L"Предыдущий месяц (Ctrl+Left Arrow)", // 23
             L"Предыдущая неделя (Ctrl+Left Arrow)", // 24
             L"Обновить (F5)", // 25
             L"Параметры (Ctrl+S)", // 26
             L"Неделя (Ctrl+2)", // 27
             L"Записная книжка без названия", // 28
             L"Страница без названия", // 29
             L"Группа разделов без названия", // 30
             L"Раздел без названия", // 31
             L"Продолжить >", // 32
             L"Дата создания", // 33
             L"Очень крупный", // 34
             L"Размер шрифта", // 35
             L"Крупный", // 36
             L"Более крупный", // 37
             L"Средний", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"Мелкий", // 40
             L"Очень мелкий", // 41
             L"Язык", // 42
             L"Дата последнего изменения", // 43
             L"Все записные книжки", // 44
             L"Записные книжки", // 45
             L"Выбранные записные книжки", // 46
             L"Другое", // 47
             L"Выберите язык", // 48
             L"Запускать только один экземпляр", // 49
             L"Показывать предварительный просмотр страницы при наведении", // 50
             L"Показывать страницы по", // 51
             L"Параметры", // 52
             L"Назад (Esc)", // 53
             L"Неделя начинается с понедельника", // 54
             L"Тема", // 55
         },
         L"января|февраля|марта|апреля|мая|июня|июля|августа|сентября|октября|ноября|декабря",
         L"янв|фев|мар|апр|мая|июн|июл|авг|сен|окт|ноя|дек", false, L"",
         L"Январь|Февраль|Март|Апрель|Май|Июнь|Июль|Август|Сентябрь|Октябрь|Ноябрь|Декабрь",
         L"Янв|Фев|Мар|Апр|Май|Июн|Июл|Авг|Сен|Окт|Ноя|Дек"},
        {L"sk", L"slovenčina",
         {
             L"[3] [2]. [1]", // 0
             L"[3] [2]. [1]", // 1
             L"[3] [2]. [1]", // 2
             L"[3] [2]. [1]", // 3
             L"pondelok|utorok|streda|štvrtok|piatok|sobota|nedeľa", // 4
             L"po|ut|st|št|pi|so|ne", // 5
             L"Stránky sa nepodarilo načítať", // 6
             L"Ukážku tejto stránky sa nepodarilo načítať", // 7
             L"Stránku sa nepodarilo otvoriť", // 8
             L"Chyba", // 9
             L"Inštaluje sa aktualizácia...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"január|február|marec|apríl|máj|jún|júl|august|september|október|november|december", // 12
             L"jan|feb|mar|apr|máj|jún|júl|aug|sep|okt|nov|dec", // 13
             L"Deň (Ctrl+3)", // 14
             L"Prejsť na tento mesiac (Ctrl+0)", // 15
             L"Prejsť na tento týždeň (Ctrl+0)", // 16
             L"Prejsť na dnešok (Ctrl+0)", // 17
             L"Mesiac (Ctrl+1)", // 18
             L"Nasledujúci deň (Ctrl+Right Arrow)", // 19
             L"Nasledujúci mesiac (Ctrl+Right Arrow)", // 20
             L"Nasledujúci týždeň (Ctrl+Right Arrow)", // 21
             L"Predchádzajúci deň (Ctrl+Left Arrow)", // 22
             L"Predchádzajúci mesiac (Ctrl+Left Arrow)", // 23
             L"Predchádzajúci týždeň (Ctrl+Left Arrow)", // 24
             L"Obnoviť (F5)", // 25
             L"Nastavenia (Ctrl+S)", // 26
             L"Týždeň (Ctrl+2)", // 27
             L"Poznámkový blok bez názvu", // 28
             L"Stránka bez názvu", // 29
             L"Skupina sekcií bez názvu", // 30
             L"Sekcia bez názvu", // 31
             L"Pokračovať >", // 32
             L"Dátum vytvorenia", // 33
             L"Extra veľké", // 34
             L"Veľkosť písma", // 35
             L"Veľké", // 36
             L"Väčšie", // 37
             L"Stredné", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"Malé", // 40
             L"Veľmi malé", // 41
             L"Jazyk", // 42
             L"Dátum poslednej zmeny", // 43
             L"Všetky poznámkové bloky", // 44
             L"Poznámkové bloky", // 45
             L"Vybraté poznámkové bloky", // 46
             L"Iné", // 47
             L"Vyberte jazyk", // 48
             L"Spúšťať iba jednu inštanciu", // 49
             L"Zobrazovať ukážku stránky po ukázaní myšou", // 50
             L"Zobraziť stránky podľa", // 51
             L"Nastavenia", // 52
             L"Späť (Esc)", // 53
             L"Týždeň začína pondelkom", // 54
             L"Motív", // 55
         },
         L"januára|februára|marca|apríla|mája|júna|júla|augusta|septembra|októbra|novembra|decembra", nullptr, false,
         L"."},
        {L"es", L"Español",
         {
             L"[3], [2] de [1]", // 0
             L"[3], [2] de [1]", // 1
             L"[3], [2] de [1]", // 2
             L"[3], [2] de [1]", // 3
             L"lunes|martes|miércoles|jueves|viernes|sábado|domingo", // 4
             L"lun|mar|mié|jue|vie|sáb|dom", // 5
             L"No se pudieron cargar las páginas", // 6
             L"No se pudo cargar la vista previa de esta página", // 7
             L"No se pudo abrir la página", // 8
             L"Error", // 9
             L"Instalando actualización...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"enero|febrero|marzo|abril|mayo|junio|julio|agosto|septiembre|octubre|noviembre|diciembre", // 12
             L"ene|feb|mar|abr|may|jun|jul|ago|sep|oct|nov|dic", // 13
             L"Día (Ctrl+3)", // 14
             L"Ir a este mes (Ctrl+0)", // 15
             L"Ir a esta semana (Ctrl+0)", // 16
             L"Ir a hoy (Ctrl+0)", // 17
             L"Mes (Ctrl+1)", // 18
             L"Día siguiente (Ctrl+Right Arrow)", // 19
             L"Mes siguiente (Ctrl+Right Arrow)", // 20
             L"Semana siguiente (Ctrl+Right Arrow)", // 21
             L"Día anterior (Ctrl+Left Arrow)", // 22
             L"Mes anterior (Ctrl+Left Arrow)", // 23
             L"Semana anterior (Ctrl+Left Arrow)", // 24
             L"Actualizar (F5)", // 25
             L"Configuración (Ctrl+S)", // 26
             L"Semana (Ctrl+2)", // 27
             L"Bloc de notas sin título", // 28
             L"Página sin título", // 29
             L"Grupo de secciones sin título", // 30
             L"Sección sin título", // 31
             L"Continuar >", // 32
             L"Fecha de creación", // 33
             L"Extra grande", // 34
             L"Tamaño de fuente", // 35
             L"Grande", // 36
             L"Más grande", // 37
             L"Mediano", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"Pequeño", // 40
             L"Muy pequeño", // 41
             L"Idioma", // 42
             L"Fecha de última modificación", // 43
             L"Todos los blocs de notas", // 44
             L"Blocs de notas", // 45
             L"Blocs de notas seleccionados", // 46
             L"Otro", // 47
             L"Elija un idioma", // 48
             L"Ejecutar una sola instancia", // 49
             L"Mostrar vista previa de las páginas al pasar el ratón", // 50
             L"Mostrar páginas en", // 51
             L"Configuración", // 52
             L"Atrás (Esc)", // 53
             L"La semana empieza el lunes", // 54
             L"Tema", // 55
         }},
        {L"tr", L"Türkçe",
         {
             L"[2] [1] [3]", // 0
             L"[2] [1] [3]", // 1
             L"[2] [1] [3]", // 2
             L"[2] [1] [3]", // 3
             L"Pazartesi|Salı|Çarşamba|Perşembe|Cuma|Cumartesi|Pazar", // 4
             L"Pzt|Sal|Çar|Per|Cum|Cmt|Paz", // 5
             L"Sayfalar yüklenemedi", // 6
             L"Bu sayfanın önizlemesi yüklenemedi", // 7
             L"Sayfa açılamadı", // 8
             L"Hata", // 9
             L"Güncelleştirme yükleniyor...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"Ocak|Şubat|Mart|Nisan|Mayıs|Haziran|Temmuz|Ağustos|Eylül|Ekim|Kasım|Aralık", // 12
             L"Oca|Şub|Mar|Nis|May|Haz|Tem|Ağu|Eyl|Eki|Kas|Ara", // 13
             L"Gün (Ctrl+3)", // 14
             L"Bu aya git (Ctrl+0)", // 15
             L"Bu haftaya git (Ctrl+0)", // 16
             L"Bugüne git (Ctrl+0)", // 17
             L"Ay (Ctrl+1)", // 18
             L"Sonraki gün (Ctrl+Right Arrow)", // 19
             L"Sonraki ay (Ctrl+Right Arrow)", // 20
             L"Sonraki hafta (Ctrl+Right Arrow)", // 21
             L"Önceki gün (Ctrl+Left Arrow)", // 22
             L"Önceki ay (Ctrl+Left Arrow)", // 23
             L"Önceki hafta (Ctrl+Left Arrow)", // 24
             L"Yenile (F5)", // 25
             L"Ayarlar (Ctrl+S)", // 26
             L"Hafta (Ctrl+2)", // 27
             L"Adsız Not Defteri", // 28
             L"Adsız Sayfa", // 29
             L"Adsız Bölüm Grubu", // 30
             L"Adsız Bölüm", // 31
             L"Devam >", // 32
             L"Oluşturma Tarihi", // 33
             L"Çok Büyük", // 34
             L"Yazı Tipi Boyutu", // 35
             L"Büyük", // 36
             L"Daha Büyük", // 37
             L"Orta", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"Küçük", // 40
             L"Çok Küçük", // 41
             L"Dil", // 42
             L"Son Değiştirme Tarihi", // 43
             L"Tüm Not Defterleri", // 44
             L"Not Defterleri", // 45
             L"Seçili Not Defterleri", // 46
             L"Diğer", // 47
             L"Lütfen bir dil seçin", // 48
             L"Tek örnek olarak çalıştır", // 49
             L"Üzerine gelindiğinde sayfa önizlemesini göster", // 50
             L"Sayfaları Göster", // 51
             L"Ayarlar", // 52
             L"Geri (Esc)", // 53
             L"Hafta pazartesi başlar", // 54
             L"Tema", // 55
         }},
        {L"mk", L"македонски јазик",
         {
             L"[3], [2] [1]", // 0
             L"[3], [2] [1]", // 1
             L"[3], [2] [1]", // 2
             L"[3], [2] [1]", // 3
             L"понеделник|вторник|среда|четврток|петок|сабота|недела", // 4
             L"пон|вто|сре|чет|пет|саб|нед", // 5
             L"Страниците не може да се вчитаат", // 6
             L"Прегледот на оваа страница не може да се вчита", // 7
             L"Страницата не може да се отвори", // 8
             L"Грешка", // 9
             L"Се инсталира ажурирање...", // 10
             L"1|2|3|4|5|6|7|8|9|10|11|12", // 11
             L"јануари|февруари|март|април|мај|јуни|јули|август|септември|октомври|ноември|декември", // 12
             L"јан|фев|мар|апр|мај|јун|јул|авг|сеп|окт|ное|дек", // 13
             L"Ден (Ctrl+3)", // 14
             L"Оди на овој месец (Ctrl+0)", // 15
             L"Оди на оваа седмица (Ctrl+0)", // 16
             L"Оди на денес (Ctrl+0)", // 17
             L"Месец (Ctrl+1)", // 18
             L"Следен ден (Ctrl+Right Arrow)", // 19
             L"Следен месец (Ctrl+Right Arrow)", // 20
             L"Следна седмица (Ctrl+Right Arrow)", // 21
             L"Претходен ден (Ctrl+Left Arrow)", // 22
             L"Претходен месец (Ctrl+Left Arrow)", // 23
             L"Претходна седмица (Ctrl+Left Arrow)", // 24
             L"Освежи (F5)", // 25
             L"Поставки (Ctrl+S)", // 26
             L"Седмица (Ctrl+2)", // 27
             L"Бележник без наслов", // 28
             L"Страница без наслов", // 29
             L"Група делови без наслов", // 30
             L"Дел без наслов", // 31
             L"Продолжи >", // 32
             L"Датум на создавање", // 33
             L"Многу голем", // 34
             L"Големина на фонт", // 35
             L"Голем", // 36
             L"Поголем", // 37
             L"Среден", // 38
             L"(Ctrl+- / Ctrl++)", // 39
             L"Мал", // 40
             L"Многу мал", // 41
             L"Јазик", // 42
             L"Датум на последна измена", // 43
             L"Сите бележници", // 44
             L"Бележници", // 45
             L"Избрани бележници", // 46
             L"Друго", // 47
             L"Изберете јазик", // 48
             L"Извршувај само една инстанца", // 49
             L"Прикажувај преглед на страницата при посочување", // 50
             L"Прикажувај ги страниците според", // 51
             L"Поставки", // 52
             L"Назад (Esc)", // 53
             L"Седмицата почнува во понеделник", // 54
             L"Тема", // 55
         }},
    };
    return languages;
}

// The boxes about the settings file name the file and give the system's reason in its own words;
// each language says the rest in the same order of texts as English.
const std::vector<NoticeLanguage>& GetNoticeTables()
{
    static const std::vector<NoticeLanguage> languages = {
        {L"en",
         {
             L"The application data folder, where [3] keeps its settings, could not be found: [2]",
             L"[3] starts with its default settings, and settings cannot be kept.",
             L"The settings file [1] could not be read because another program holds it.",
             L"The settings file [1] could not be read: [2]",
             L"The settings file [1] could not be read: it is damaged, and no copy of it could be kept.",
             L"[3] starts with its default settings, and the changes of this session will not be saved.",
             L"The settings could not be saved to [1] because another program holds it.",
             L"The settings could not be saved to [1]: [2]",
             L"The file was left as it was.",
         }},
        {L"zh-CN",
         {
             L"找不到 [3] 保存设置的应用程序数据文件夹：[2]",
             L"[3] 将使用默认设置启动，且无法保存设置。",
             L"无法读取设置文件 [1]，因为另一个程序正在使用它。",
             L"无法读取设置文件 [1]：[2]",
             L"无法读取设置文件 [1]：该文件已损坏，且无法保留其副本。",
             L"[3] 将使用默认设置启动，本次会话的更改将不会保存。",
             L"无法将设置保存到 [1]，因为另一个程序正在使用该文件。",
             L"无法将设置保存到 [1]：[2]",
             L"该文件保持原样。",
         }},
        {L"zh-TW",
         {
             L"找不到 [3] 儲存設定的應用程式資料資料夾：[2]",
             L"[3] 將以預設設定啟動，且無法保存設定。",
             L"無法讀取設定檔 [1]，因為另一個程式正在使用它。",
             L"無法讀取設定檔 [1]：[2]",
             L"無法讀取設定檔 [1]：該檔案已損毀，且無法保留其副本。",
             L"[3] 將以預設設定啟動，本次工作階段的變更將不會儲存。",
             L"無法將設定儲存到 [1]，因為另一個程式正在使用該檔案。",
             L"無法將設定儲存到 [1]：[2]",
             L"該檔案維持原樣。",
         }},
        {L"cs",
         {
             L"Složku dat aplikací, ve které [3] uchovává nastavení, nelze najít: [2]",
             L"[3] se spustí s výchozím nastavením a nastavení nelze uchovat.",
             L"Soubor nastavení [1] nelze přečíst, protože jej používá jiný program.",
             L"Soubor nastavení [1] nelze přečíst: [2]",
             L"Soubor nastavení [1] nelze přečíst: je poškozený a jeho kopii nelze uchovat.",
             L"[3] se spustí s výchozím nastavením a změny z této relace nebudou uloženy.",
             L"Nastavení nelze uložit do souboru [1], protože jej používá jiný program.",
             L"Nastavení nelze uložit do souboru [1]: [2]",
             L"Soubor zůstal beze změny.",
         }},
        {L"nl",
         {
             L"De map met toepassingsgegevens, waarin [3] de instellingen bewaart, is niet gevonden: [2]",
             L"[3] start met de standaardinstellingen, en instellingen kunnen niet worden bewaard.",
             L"Het instellingenbestand [1] kan niet worden gelezen omdat een ander programma het gebruikt.",
             L"Het instellingenbestand [1] kan niet worden gelezen: [2]",
             L"Het instellingenbestand [1] kan niet worden gelezen: het is beschadigd, en er kon geen kopie van "
             L"worden bewaard.",
             L"[3] start met de standaardinstellingen, en de wijzigingen van deze sessie worden niet opgeslagen.",
             L"De instellingen kunnen niet worden opgeslagen in [1] omdat een ander programma het bestand gebruikt.",
             L"De instellingen kunnen niet worden opgeslagen in [1]: [2]",
             L"Het bestand is gebleven zoals het was.",
         }},
        {L"fr",
         {
             L"Le dossier des données d'application, où [3] conserve ses paramètres, est introuvable : [2]",
             L"[3] démarre avec ses paramètres par défaut, et les paramètres ne peuvent pas être conservés.",
             L"Le fichier de paramètres [1] n'a pas pu être lu, car un autre programme l'utilise.",
             L"Le fichier de paramètres [1] n'a pas pu être lu : [2]",
             L"Le fichier de paramètres [1] n'a pas pu être lu : il est endommagé, et aucune copie n'a pu en être "
             L"conservée.",
             L"[3] démarre avec ses paramètres par défaut, et les modifications de cette session ne seront pas "
             L"enregistrées.",
             L"Les paramètres n'ont pas pu être enregistrés dans [1], car un autre programme utilise ce fichier.",
             L"Les paramètres n'ont pas pu être enregistrés dans [1] : [2]",
             L"Le fichier a été laissé tel quel.",
         }},
        {L"de",
         {
             L"Der Anwendungsdatenordner, in dem [3] seine Einstellungen speichert, wurde nicht gefunden: [2]",
             L"[3] startet mit den Standardeinstellungen, und Einstellungen können nicht gespeichert werden.",
             L"Die Einstellungsdatei [1] konnte nicht gelesen werden, da ein anderes Programm sie verwendet.",
             L"Die Einstellungsdatei [1] konnte nicht gelesen werden: [2]",
             L"Die Einstellungsdatei [1] konnte nicht gelesen werden: Sie ist beschädigt, und es konnte keine "
             L"Kopie davon aufbewahrt werden.",
             L"[3] startet mit den Standardeinstellungen, und die Änderungen dieser Sitzung werden nicht gespeichert.",
             L"Die Einstellungen konnten nicht in [1] gespeichert werden, da ein anderes Programm die Datei verwendet.",
             L"Die Einstellungen konnten nicht in [1] gespeichert werden: [2]",
             L"Die Datei blieb unverändert.",
         }},
        {L"it",
         {
             L"Impossibile trovare la cartella dei dati delle applicazioni in cui [3] conserva le impostazioni: [2]",
             L"[3] si avvia con le impostazioni predefinite, e le impostazioni non possono essere conservate.",
             L"Impossibile leggere il file delle impostazioni [1] perché è in uso da parte di un altro programma.",
             L"Impossibile leggere il file delle impostazioni [1]: [2]",
             L"Impossibile leggere il file delle impostazioni [1]: è danneggiato, e non è stato possibile "
             L"conservarne una copia.",
             L"[3] si avvia con le impostazioni predefinite, e le modifiche di questa sessione non verranno salvate.",
             L"Impossibile salvare le impostazioni in [1] perché il file è in uso da parte di un altro programma.",
             L"Impossibile salvare le impostazioni in [1]: [2]",
             L"Il file è stato lasciato invariato.",
         }},
        {L"nb",
         {
             L"Finner ikke mappen for programdata der [3] lagrer innstillingene sine: [2]",
             L"[3] starter med standardinnstillingene, og innstillinger kan ikke tas vare på.",
             L"Kan ikke lese innstillingsfilen [1] fordi et annet program bruker den.",
             L"Kan ikke lese innstillingsfilen [1]: [2]",
             L"Kan ikke lese innstillingsfilen [1]: den er skadet, og ingen kopi av den kunne tas vare på.",
             L"[3] starter med standardinnstillingene, og endringene i denne økten blir ikke lagret.",
             L"Kan ikke lagre innstillingene i [1] fordi et annet program bruker filen.",
             L"Kan ikke lagre innstillingene i [1]: [2]",
             L"Filen ble latt være som den var.",
         }},
        {L"pl",
         {
             L"Nie można znaleźć folderu danych aplikacji, w którym [3] przechowuje ustawienia: [2]",
             L"[3] uruchamia się z ustawieniami domyślnymi, a ustawień nie można zachować.",
             L"Nie można odczytać pliku ustawień [1], ponieważ używa go inny program.",
             L"Nie można odczytać pliku ustawień [1]: [2]",
             L"Nie można odczytać pliku ustawień [1]: jest uszkodzony i nie udało się zachować jego kopii.",
             L"[3] uruchamia się z ustawieniami domyślnymi, a zmiany z tej sesji nie zostaną zapisane.",
             L"Nie można zapisać ustawień w pliku [1], ponieważ używa go inny program.",
             L"Nie można zapisać ustawień w pliku [1]: [2]",
             L"Plik pozostał bez zmian.",
         }},
        {L"pt-BR",
         {
             L"A pasta de dados de aplicativos, onde o [3] guarda suas configurações, não foi encontrada: [2]",
             L"O [3] é iniciado com as configurações padrão, e as configurações não podem ser mantidas.",
             L"Não foi possível ler o arquivo de configurações [1] porque outro programa o está usando.",
             L"Não foi possível ler o arquivo de configurações [1]: [2]",
             L"Não foi possível ler o arquivo de configurações [1]: ele está danificado, e não foi possível "
             L"guardar uma cópia dele.",
             L"O [3] é iniciado com as configurações padrão, e as alterações desta sessão não serão salvas.",
             L"Não foi possível salvar as configurações em [1] porque outro programa está usando o arquivo.",
             L"Não foi possível salvar as configurações em [1]: [2]",
             L"O arquivo foi deixado como estava.",
         }},
        {L"ru",
         {
             L"Не удалось найти папку данных приложений, в которой [3] хранит свои параметры: [2]",
             L"[3] запускается с параметрами по умолчанию, и параметры не могут быть сохранены.",
             L"Не удалось прочитать файл параметров [1], так как его использует другая программа.",
             L"Не удалось прочитать файл параметров [1]: [2]",
             L"Не удалось прочитать файл параметров [1]: он поврежден, и сохранить его копию не удалось.",
             L"[3] запускается с параметрами по умолчанию, и изменения этого сеанса не будут сохранены.",
             L"Не удалось сохранить параметры в файл [1], так как его использует другая программа.",
             L"Не удалось сохранить параметры в файл [1]: [2]",
             L"Файл оставлен без изменений.",
         }},
        {L"sk",
         {
             L"Priečinok údajov aplikácií, v ktorom [3] uchováva nastavenia, sa nenašiel: [2]",
             L"[3] sa spustí s predvolenými nastaveniami a nastavenia nie je možné uchovať.",
             L"Súbor nastavení [1] sa nepodarilo prečítať, pretože ho používa iný program.",
             L"Súbor nastavení [1] sa nepodarilo prečítať: [2]",
             L"Súbor nastavení [1] sa nepodarilo prečítať: je poškodený a jeho kópiu sa nepodarilo uchovať.",
             L"[3] sa spustí s predvolenými nastaveniami a zmeny z tejto relácie sa neuložia.",
             L"Nastavenia sa nepodarilo uložiť do súboru [1], pretože ho používa iný program.",
             L"Nastavenia sa nepodarilo uložiť do súboru [1]: [2]",
             L"Súbor zostal nezmenený.",
         }},
        {L"es",
         {
             L"No se encontró la carpeta de datos de aplicaciones, donde [3] guarda su configuración: [2]",
             L"[3] se inicia con la configuración predeterminada, y la configuración no se puede conservar.",
             L"No se pudo leer el archivo de configuración [1] porque otro programa lo está usando.",
             L"No se pudo leer el archivo de configuración [1]: [2]",
             L"No se pudo leer el archivo de configuración [1]: está dañado, y no se pudo conservar una copia.",
             L"[3] se inicia con la configuración predeterminada, y los cambios de esta sesión no se guardarán.",
             L"No se pudo guardar la configuración en [1] porque otro programa está usando el archivo.",
             L"No se pudo guardar la configuración en [1]: [2]",
             L"El archivo se dejó como estaba.",
         }},
        {L"tr",
         {
             L"[3] uygulamasının ayarlarını sakladığı uygulama verileri klasörü bulunamadı: [2]",
             L"[3] varsayılan ayarlarla başlıyor ve ayarlar saklanamıyor.",
             L"[1] ayar dosyası başka bir program tarafından kullanıldığı için okunamadı.",
             L"[1] ayar dosyası okunamadı: [2]",
             L"[1] ayar dosyası okunamadı: dosya bozuk ve bir kopyası saklanamadı.",
             L"[3] varsayılan ayarlarla başlıyor ve bu oturumdaki değişiklikler kaydedilmeyecek.",
             L"Dosya başka bir program tarafından kullanıldığı için ayarlar [1] dosyasına kaydedilemedi.",
             L"Ayarlar [1] dosyasına kaydedilemedi: [2]",
             L"Dosya olduğu gibi bırakıldı.",
         }},
        {L"mk",
         {
             L"Папката со податоци на апликациите, во која [3] ги чува своите поставки, не може да се најде: [2]",
             L"[3] се стартува со стандардните поставки, а поставките не може да се зачуваат.",
             L"Датотеката со поставки [1] не може да се прочита бидејќи ја користи друга програма.",
             L"Датотеката со поставки [1] не може да се прочита: [2]",
             L"Датотеката со поставки [1] не може да се прочита: оштетена е, а нејзина копија не може да се "
             L"зачува.",
             L"[3] се стартува со стандардните поставки, а промените од оваа сесија нема да се зачуваат.",
             L"Поставките не може да се зачуваат во [1] бидејќи датотеката ја користи друга програма.",
             L"Поставките не може да се зачуваат во [1]: [2]",
             L"Датотеката е оставена непроменета.",
         }},
    };
    return languages;
}

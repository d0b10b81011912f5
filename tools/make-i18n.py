#!/usr/bin/env python3
"""Writes the language files modules/i18n/English.ini, French.ini and
ChineseSimplified.ini from the tables below.

Each text group is one INI section with `total` and the entries 0..total-1,
in the order of the page array that the group replaces. Values are written
the way QSettings (IniFormat, UTF-8) writes a string: backslashes and double
quotes escaped, control characters as \\x.., and the whole value in double
quotes when it holds a comma, a semicolon or an equals sign, or starts or
ends with a blank. Without the quotes QSettings would read a comma as a list
separator, a semicolon as the start of a comment and drop the edge blanks.

Every row of a table is (English, French, Chinese). The key names of the
keyCode group must stay in the order of the key-code list (133 entries), and
two entries share a name only where the English names do: the pages look a
code up by its name and take the first match.

Usage: tools/make-i18n.py [output folder]   (default modules/i18n)
"""
import os
import sys

LANGUAGES = ("English", "French", "ChineseSimplified")

# Shell page: title of the editor box, its two entries, report rate, the
# bottom bar, the factory-reset dialog, the system-setting button, then the
# busy indicator, the second entry of the question-mark menu and the
# minimise and close buttons of the top bar; then the frame's connection
# sign, the line about a file that could not be written and its dismiss
# button, and the question-mark menu's data folder entry (%1: a file name or
# folder).
MAIN = [
    ("Editor", "Éditeur", "编辑器"),
    ("Macro Editor", "Éditeur de macros", "宏编辑器"),
    ("Gun Editor", "Éditeur d'armes", "枪械编辑器"),
    ("Report Rate", "Taux de rapport", "回报率"),
    ("Config", "Configuration", "配置"),
    ("Reset", "Réinitialiser", "重置"),
    ("Reset factory setting", "Rétablir les paramètres d'usine", "恢复出厂设置"),
    ("Cancel", "Annuler", "取消"),
    ("OK", "OK", "确定"),
    ("System setting", "Paramètres système", "系统设置"),
    ("Save", "Enregistrer", "保存"),
    ("LOADING ......", "CHARGEMENT ......", "加载中 ......"),
    ("version:2.2", "version : 2.2", "版本：2.2"),
    ("Minimize", "Réduire", "最小化"),
    ("Close", "Fermer", "关闭"),
    ("Mouse connected", "Souris connectée", "鼠标已连接"),
    ("No mouse connected", "Aucune souris connectée", "未连接鼠标"),
    ("Not saved: %1 could not be written (is the disk full?)",
     "Non enregistré : impossible d'écrire %1 (le disque est-il plein ?)",
     "未保存：无法写入 %1（磁盘是否已满？）"),
    ("Dismiss", "Masquer", "关闭提示"),
    ("Data folder: %1", "Dossier des données : %1", "数据文件夹：%1"),
]

# Button list: the row label (followed by the button number) and the title.
KEY_MATRIX = [
    ("Key ", "Touche ", "按键 "),
    ("Key Function", "Fonction des touches", "按键功能"),
    ("This is the only left click: give another button the left click first",
     "C'est le seul clic gauche : attribuez d'abord le clic gauche à un autre bouton",
     "这是唯一的左键：请先把左键分配给其他按键"),
]

# Button assignment dialog.
KEY_ASSIGNMENT = [
    ("Key ", "Touche ", "按键 "),
    ("Mouse Function", "Fonction souris", "鼠标功能"),
    ("Left Key", "Bouton gauche", "左键"),
    ("Middle Key", "Bouton central", "中键"),
    ("Right Key", "Bouton droit", "右键"),
    ("Forward Key", "Bouton avant", "前进键"),
    ("Back Key", "Bouton arrière", "后退键"),
    ("Double Fire", "Double clic", "双击"),
    ("Fire Function", "Tir en rafale", "连发功能"),
    ("Key Value", "Touche", "按键值"),
    ("Click Input", "Cliquer pour saisir", "点击输入"),
    ("Rate", "Cadence", "速率"),
    ("Times", "Nombre de fois", "次数"),
    ("Endless", "Infini", "无限"),
    ("Group Function", "Combinaison de touches", "组合键功能"),
    ("Media Function", "Fonction multimédia", "多媒体功能"),
    ("Macro Function", "Fonction macro", "宏功能"),
    ("Macro Editor", "Éditeur de macros", "宏编辑器"),
    ("Macro runs one-time after pressing the button",
     "La macro s'exécute une fois après l'appui sur le bouton",
     "按下按键后宏执行一次"),
    ("Macro runs endless loop until any button is pressed",
     "La macro tourne en boucle jusqu'à l'appui sur un bouton",
     "宏循环执行，直到按下任意按键"),
    ("Macro runs endless loop until button is released",
     "La macro tourne en boucle jusqu'au relâchement du bouton",
     "宏循环执行，直到松开按键"),
    ("DPI Function", "Fonction DPI", "DPI功能"),
    ("DPI+", "DPI+", "DPI+"),
    ("DPI-", "DPI-", "DPI-"),
    ("DPI LOOP", "DPI en boucle", "DPI循环"),
    ("Windows Function", "Fonction Windows", "Windows功能"),
    ("Shortcut Function", "Raccourcis", "快捷键功能"),
    ("Player", "Lecteur", "播放器"),
    ("Next", "Suivant", "下一曲"),
    ("Previous", "Précédent", "上一曲"),
    ("Stop", "Arrêt", "停止"),
    ("Mute", "Muet", "静音"),
    ("Play/Pause", "Lecture/Pause", "播放/暂停"),
    ("Volume+", "Volume+", "音量+"),
    ("Volume-", "Volume-", "音量-"),
    ("My PC", "Ce PC", "我的电脑"),
    ("Index", "Page d'accueil", "主页"),
    ("Search", "Recherche", "搜索"),
    ("Max", "Agrandir", "最大化"),
    ("Min", "Réduire", "最小化"),
    ("Desktop", "Bureau", "桌面"),
    ("Run", "Exécuter", "运行"),
    ("New", "Nouveau", "新建"),
    ("Cut", "Couper", "剪切"),
    ("Copy", "Copier", "复制"),
    ("Paste", "Coller", "粘贴"),
    ("Save", "Enregistrer", "保存"),
    ("Print", "Imprimer", "打印"),
    ("Find", "Rechercher", "查找"),
    ("Redo", "Rétablir", "重做"),
    ("Undo", "Annuler", "撤销"),
    ("Select All", "Tout sélectionner", "全选"),
    ("Gun Function", "Fonction arme", "枪械功能"),
    ("One Gun", "Une arme", "一把枪"),
    ("Two Gun", "Deux armes", "两把枪"),
    ("Three Gun", "Trois armes", "三把枪"),
    ("Sniper Key", "Touche sniper", "狙击键"),
    ("Click", "Clic", "单击"),
]

DPI_SETTING = [
    ("DPI", "DPI", "DPI"),
]

# Lighting page: title, the four basic effects, the three control labels, the
# seven effects of colour mice, the extra effect of the 55328 variant (15),
# the 27 effect names of the 571 variant (16..42, list positions 0..26), and
# the single fixed colour and the restore button (43, 44).
LIGHT_CONTROL = [
    ("Light", "Éclairage", "灯光"),
    ("Static", "Statique", "常亮"),
    ("Breath", "Respiration", "呼吸"),
    ("Neon", "Néon", "霓虹"),
    ("OFF", "Éteint", "关闭"),
    ("Speed", "Vitesse", "速度"),
    ("Color", "Couleur", "颜色"),
    ("Brightness", "Luminosité", "亮度"),
    ("Twinkling", "Scintillement", "闪烁"),
    ("Wave", "Vague", "波浪"),
    ("Gliding", "Glissement", "流光"),
    ("Finger Moving", "Mouvement du doigt", "指尖流动"),
    ("Vertical Flipping", "Basculement vertical", "垂直翻转"),
    ("YO-YO", "Yo-yo", "悠悠球"),
    ("Spotlight", "Projecteur", "聚光灯"),
    ("Multicolor Breath", "Respiration multicolore", "多彩呼吸"),
    # 571 variant, list positions 0..26
    ("OFF", "Éteint", "关闭"),
    ("Static", "Statique", "常亮"),
    ("Static Multicolor", "Statique multicolore", "多彩常亮"),
    ("Static Color Loop", "Statique, couleurs en boucle", "常亮颜色循环"),
    ("Breath", "Respiration", "呼吸"),
    ("Breath Multicolor", "Respiration multicolore", "多彩呼吸"),
    ("Breath Color Loop", "Respiration, couleurs en boucle", "呼吸颜色循环"),
    ("Neon", "Néon", "霓虹"),
    ("Wave", "Vague", "波浪"),
    ("Twinkling", "Scintillement", "闪烁"),
    ("Twinkling Multicolor", "Scintillement multicolore", "多彩闪烁"),
    ("Twinkling Color Loop", "Scintillement, couleurs en boucle", "闪烁颜色循环"),
    ("Reactive", "Réactif", "触发"),
    ("Reactive Multicolor", "Réactif multicolore", "多彩触发"),
    ("Reactive Color Loop", "Réactif, couleurs en boucle", "触发颜色循环"),
    ("Ripple", "Ondulation", "涟漪"),
    ("Ripple Multicolor", "Ondulation multicolore", "多彩涟漪"),
    ("Ripple Color Loop", "Ondulation, couleurs en boucle", "涟漪颜色循环"),
    ("Spotlight", "Projecteur", "聚光灯"),
    ("Spotlight Multicolor", "Projecteur multicolore", "多彩聚光灯"),
    ("Gliding", "Glissement", "流光"),
    ("Gliding Multicolor", "Glissement multicolore", "多彩流光"),
    ("Gliding Color Loop", "Glissement, couleurs en boucle", "流光颜色循环"),
    ("YO-YO", "Yo-yo", "悠悠球"),
    ("Flash", "Flash", "闪光"),
    ("Flash Multicolor", "Flash multicolore", "多彩闪光"),
    ("Flash Color Loop", "Flash, couleurs en boucle", "闪光颜色循环"),
    # fixed colour, restore button
    ("Single Color", "Couleur unique", "单色"),
    ("Restore Defaults", "Valeurs par défaut", "恢复默认"),
]

# Macro editor: dialog texts, the unit of a delay step and the prefix of new
# macro names, then the notes on what did not happen (%1: a macro name or a
# count), then the question before a macro is deleted: its title, the
# question for a macro no button uses, one button uses and several buttons
# use (%1 the macro's name, %2 the number of buttons), and Cancel.
MACRO_EDITOR = [
    ("Macro Editor", "Éditeur de macros", "宏编辑器"),
    ("Macro Name", "Nom de la macro", "宏名称"),
    ("New", "Nouvelle", "新建"),
    ("Delete", "Supprimer", "删除"),
    ("Action", "Action", "动作"),
    ("Stop Record", "Arrêter l'enregistrement", "停止录制"),
    ("Times", "Répétitions", "次数"),
    ("OK", "OK", "确定"),
    ("Start Record", "Démarrer l'enregistrement", "开始录制"),
    ("Delay", "Délai", "延时"),
    ("Delete", "Supprimer", "删除"),
    ("Import", "Importer", "导入"),
    ("Export", "Exporter", "导出"),
    ("Insert Delay", "Insérer un délai", "插入延时"),
    ("Insert Key", "Insérer une touche", "插入按键"),
    ("Insert Left Key", "Insérer un clic gauche", "插入左键"),
    ("Insert Middle Key", "Insérer un clic central", "插入中键"),
    ("Insert Right Key", "Insérer un clic droit", "插入右键"),
    ("ms", "ms", "毫秒"),
    ("Macro_", "Macro_", "宏_"),
    ("The macro is full: no step can be added", "La macro est pleine : aucune étape ne peut être ajoutée",
     "宏已满：无法再添加步骤"),
    ("Not saved: the file of %1 could not be written", "Non enregistrée : impossible d'écrire le fichier de %1",
     "未保存：无法写入 %1 的文件"),
    ("Choose or create a macro to record", "Choisissez ou créez une macro à enregistrer", "请选择或新建要录制的宏"),
    ("There are %1 macros already", "Il y a déjà %1 macros", "已有 %1 个宏"),
    ("Not created: the file of %1 could not be written", "Non créée : impossible d'écrire le fichier de %1",
     "未创建：无法写入 %1 的文件"),
    ("Nothing imported", "Rien n'a été importé", "未导入任何内容"),
    ("Not renamed: a name is needed", "Non renommée : un nom est nécessaire", "未重命名：需要名称"),
    ("Not renamed: %1 is taken", "Non renommée : %1 est déjà pris", "未重命名：%1 已被使用"),
    ("Not renamed: %1 is reserved", "Non renommée : %1 est réservé", "未重命名：%1 是保留名称"),
    ("Not renamed: %1 cannot name a macro file", "Non renommée : %1 ne peut pas nommer un fichier de macro",
     "未重命名：%1 不能用作宏文件名"),
    ("Delete Macro", "Supprimer la macro", "删除宏"),
    ('Delete the macro "%1"?', "Supprimer la macro\u00a0«\u00a0%1\u00a0»\u00a0?", "删除宏“%1”？"),
    ('Delete the macro "%1"? It is assigned to %2 button.',
     "Supprimer la macro\u00a0«\u00a0%1\u00a0»\u00a0? Elle est attribuée à %2\u00a0bouton.",
     "删除宏“%1”？它已分配给 %2 个按键。"),
    ('Delete the macro "%1"? It is assigned to %2 buttons.',
     "Supprimer la macro\u00a0«\u00a0%1\u00a0»\u00a0? Elle est attribuée à %2\u00a0boutons.",
     "删除宏“%1”？它已分配给 %2 个按键。"),
    ("Cancel", "Annuler", "取消"),
]

SYSTEM_SETTING = [
    ("System Setting", "Paramètres système", "系统设置"),
    ("Mouse Speed", "Vitesse du pointeur", "鼠标速度"),
    ("Double Click Speed", "Vitesse du double-clic", "双击速度"),
    ("Slow", "Lente", "慢"),
    ("Fast", "Rapide", "快"),
    ("Scroll Speed", "Vitesse de défilement", "滚轮速度"),
    ("Number of Rows", "Nombre de lignes", "滚动行数"),
    ("Scroll one Screen", "Un écran à la fois", "一次滚动一屏"),
]

GUN_CONTROL = [
    ("Gun editor", "Éditeur d'armes", "枪械编辑器"),
    ("Gun", "Arme", "枪械"),
    ("Select gun", "Choisir une arme", "选择枪械"),
    ("Cursor Adjust", "Réglage du curseur", "准星调整"),
    ("X Axis", "Axe X", "X轴"),
    ("Y axis", "Axe Y", "Y轴"),
    ("Fire adjust", "Réglage du tir", "射击调整"),
    ("Rate", "Cadence", "射速"),
    ("Times", "Nombre de tirs", "次数"),
    ("Endless", "Infini", "无限"),
]

# Profile dialog: title, buttons, context menu, the name of the first
# profile; then the prefix of new profile names, the import and export file
# dialogs, the close button, and the hints for the page's refusals and
# results.
PROFILE = [
    ("config", "Configuration", "配置"),
    ("New", "Nouveau", "新建"),
    ("Import", "Importer", "导入"),
    ("Delete", "Supprimer", "删除"),
    ("Export", "Exporter", "导出"),
    ("Standard", "Standard", "标准"),
    ("profile_", "profil_", "配置_"),
    ("Open File", "Ouvrir un fichier", "打开文件"),
    ("Save File", "Enregistrer le fichier", "保存文件"),
    ("Profile(*.pf)", "Profil(*.pf)", "配置文件(*.pf)"),
    ("Close", "Fermer", "关闭"),
    ("Double-click a name to rename it", "Double-cliquez sur un nom pour le renommer",
     "双击名称可重命名"),
    ("At most 6 profiles", "6 profils au maximum", "最多6个配置"),
    ("The first profile cannot be deleted", "Le premier profil ne peut pas être supprimé",
     "第一个配置不能删除"),
    ("The active profile cannot be deleted", "Le profil actif ne peut pas être supprimé",
     "正在使用的配置不能删除"),
    ("A profile with this name already exists", "Un profil de ce nom existe déjà",
     "已存在同名配置"),
    ("Profile imported", "Profil importé", "配置已导入"),
    ("Profile exported", "Profil exporté", "配置已导出"),
    ("Profile reset to factory settings", "Profil réinitialisé aux paramètres d'usine",
     "配置已恢复出厂设置"),
    ("Active profile", "Profil actif", "当前配置"),
    ("A profile name cannot be empty", "Le nom d'un profil ne peut pas être vide", "配置名称不能为空"),
    ("Saved in the profile: it goes to the mouse when the mouse is connected",
     "Enregistré dans le profil : il sera envoyé à la souris dès qu'elle sera connectée",
     "已保存到配置：鼠标连接后发送到鼠标"),
    ("This resets the profile \"%1\" to its factory settings. The gun presets, which all profiles share, "
     "are reset too.",
     "Le profil « %1 » reprend ses paramètres d'usine. Les préréglages d'arme, communs à tous les profils, "
     "sont aussi réinitialisés.",
     "配置“%1”将恢复出厂设置。所有配置共用的枪械预设也会一并重置。"),
]

# Key names, in the order of the key-code list: 0x04..0x73, 0x85, 0x87..0x8B,
# 0x90, 0x91, 0xE0..0xE7, 0xF0..0xF4. Key legends stay as they are; words are
# translated.
KEY_CODE = [
    *[(c, c, c) for c in "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890"],
    ("Enter", "Entrée", "回车"),
    ("Esc", "Échap", "Esc"),
    ("Back", "Retour arr", "退格"),
    ("Tab", "Tab", "Tab"),
    ("Space", "Espace", "空格"),
    *[(c, c, c) for c in ("-", "=", "[", "]", "\\", "\\", ";", "'", "`", ",", ".", "/")],
    ("Caps", "Verr Maj", "大写锁定"),
    *[(f"F{n}", f"F{n}", f"F{n}") for n in range(1, 13)],
    ("Prt", "Impr écran", "截屏"),
    ("Scr", "Arrêt défil", "滚动锁定"),
    ("Pau", "Pause", "暂停"),
    ("Ins", "Inser", "插入"),
    ("Hom", "Origine", "Home"),
    ("Pgu", "Pg préc", "上翻页"),
    ("Del", "Suppr", "删除"),
    ("End", "Fin", "End"),
    ("PgD", "Pg suiv", "下翻页"),
    ("►", "►", "►"),
    ("◄", "◄", "◄"),
    ("▼", "▼", "▼"),
    ("▲", "▲", "▲"),
    ("Num", "Verr Num", "数字锁定"),
    ("KP/", "KP/", "小键盘/"),
    ("KP*", "KP*", "小键盘*"),
    ("KP-", "KP-", "小键盘-"),
    ("KP+", "KP+", "小键盘+"),
    ("KPEnter", "KPEntrée", "小键盘回车"),
    *[(f"KP{d}", f"KP{d}", f"小键盘{d}") for d in "1234567890"],
    ("KP.", "KP.", "小键盘."),
    ("Eur2", "Eur2", "Eur2"),
    ("App", "Menu", "菜单"),
    ("Power", "Alimentation", "电源"),
    ("KP=", "KP=", "小键盘="),
    *[(f"F{n}", f"F{n}", f"F{n}") for n in range(13, 25)],
    ("Keypad", "Pavé num", "小键盘"),
    ("Intl1", "Intl1", "Intl1"),
    ("Intl2", "Intl2", "Intl2"),
    ("Intl2", "Intl2", "Intl2"),
    ("Intl4", "Intl4", "Intl4"),
    ("Intl5", "Intl5", "Intl5"),
    ("Lang1", "Lang1", "Lang1"),
    ("Lang2", "Lang2", "Lang2"),
    ("LCtrl", "Ctrl G", "左Ctrl"),
    ("LShift", "Maj G", "左Shift"),
    ("LAlt", "Alt", "左Alt"),
    ("LWin", "Win G", "左Win"),
    ("RCtrl", "Ctrl D", "右Ctrl"),
    ("RShift", "Maj D", "右Shift"),
    ("RAlt", "Alt Gr", "右Alt"),
    ("RWin", "Win D", "右Win"),
    ("MS-L", "Souris G", "鼠标左键"),
    ("MS-R", "Souris D", "鼠标右键"),
    ("MS-M", "Souris M", "鼠标中键"),
    ("MS-B4", "Souris 4", "鼠标侧键4"),
    ("MS-B5", "Souris 5", "鼠标侧键5"),
]

FRENCH_ORDINALS = ("premier", "deuxième", "troisième", "quatrième", "cinquième",
                   "sixième", "septième", "huitième")

# Tray texts for DPI stages 1..8. The French ones are the texts the program
# sets itself when the language is French, so the file holds the same.
OTHER = [
    (f"DPI switched to stage {n}",
     "passage DPI au premier étage" if n == 1 else f"DPI passe au {FRENCH_ORDINALS[n - 1]} étage",
     f"DPI已切换到第{n}档")
    for n in range(1, 9)
]

SECTIONS = [
    ("main", MAIN, 20),
    ("keyMatrix", KEY_MATRIX, 3),
    ("keyAssigment", KEY_ASSIGNMENT, 58),
    ("dpiSetting", DPI_SETTING, 1),
    ("lightControl", LIGHT_CONTROL, 45),
    ("macroEditor", MACRO_EDITOR, 35),
    ("systemSetting", SYSTEM_SETTING, 8),
    ("gunControl", GUN_CONTROL, 10),
    ("profile", PROFILE, 23),
    ("keyCode", KEY_CODE, 133),
    ("other", OTHER, 8),
]


def ini_value(text):
    """The value as QSettings writes a string in IniFormat."""
    out = []
    for ch in text:
        if ch in '\\"':
            out.append("\\" + ch)
        elif ord(ch) < 0x20:
            out.append("\\x%x" % ord(ch))
        else:
            out.append(ch)
    body = "".join(out)
    if any(c in text for c in ";,=") or text.startswith(" ") or text.endswith(" "):
        body = '"' + body + '"'
    return body


def check_tables():
    for name, rows, total in SECTIONS:
        if len(rows) != total:
            raise SystemExit(f"section {name}: {len(rows)} texts, {total} expected")
        for i, row in enumerate(rows):
            if len(row) != len(LANGUAGES) or not all(row):
                raise SystemExit(f"section {name}, entry {i}: empty or missing text")
    # A name lookup takes the first match, so a translation must not merge
    # two keys that English keeps apart, nor split a shared English name.
    for lang in range(len(LANGUAGES)):
        names = [row[lang] for row in KEY_CODE]
        english = [row[0] for row in KEY_CODE]
        for i in range(len(names)):
            for j in range(i + 1, len(names)):
                if (names[i] == names[j]) != (english[i] == english[j]):
                    raise SystemExit(f"keyCode {LANGUAGES[lang]}: entries {i} and {j} "
                                     "share a name differently from English")


def write(folder):
    check_tables()
    os.makedirs(folder, exist_ok=True)
    for lang_index, lang in enumerate(LANGUAGES):
        lines = [f"; Written by tools/make-i18n.py; edit the tables there.", ""]
        for name, rows, total in SECTIONS:
            lines.append(f"[{name}]")
            lines.append(f"total={total}")
            for i, row in enumerate(rows):
                lines.append(f"{i}={ini_value(row[lang_index])}")
            lines.append("")
        path = os.path.join(folder, lang + ".ini")
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write("\n".join(lines))
        print(path)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, os.pardir, "modules", "i18n")
    write(os.path.normpath(sys.argv[1] if len(sys.argv) > 1 else default))

#!/usr/bin/env bash
# scripts/check-texts.sh over a small source tree: a clean tree passes; each kind of fault it
# is there to find is reported once, at its place, and nothing else is.
# Usage: CheckTextsTest.sh PATH_TO_CHECK_TEXTS
set -euo pipefail
check=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/src/gui" "$root/host" "$root/data/lang"

cat >"$root/src/gui/View.cpp" <<'CPP'
// 注释里的中文不算
/* 块注释: "中文" */
void Build()
{
    label(HostText("IDS_MD_TITLE", QStringLiteral("标题")));
    table({{20011, "IDS_MD_ADD", "添加"}});
    say(texts.TextOr("IDS_MD_LONG", u"第一段"
                                    u"第二段"));
    plain("IDS_MD_PLAIN");
    path("C:\\temp\\" "x.ini");
}
CPP
for language in en-us zh-cn; do
    {
        echo "[ModuleDesignUIPlugin]"
        echo "ID_OPEN_SOCKET_FILE=x"
        echo "IDS_MD_ADD=添加"
        echo "IDS_MD_LONG=第一段第二段"
        echo "IDS_MD_PLAIN=x"
        echo "IDS_MD_TITLE=标题"
    } >"$root/data/lang/$language.ini"
done

if ! out=$("$check" "$root"); then
    echo "a clean tree fails:"
    echo "$out"
    exit 1
fi

# Five faults: a Chinese text without a key, a key missing from one file, a key no source uses,
# a fallback that says something else than the Chinese file, and a known key a source uses.
cat >>"$root/src/gui/View.cpp" <<'CPP'
void More()
{
    button(QStringLiteral("确定"));
    label(HostText("IDS_MD_ONLY_ENGLISH", QStringLiteral("Only English")));
    label(HostText("IDS_MD_TITLE", QStringLiteral("旧标题")));
    open(texts.Text("ID_OPEN_SOCKET_FILE"));
}
CPP
echo "IDS_MD_ONLY_ENGLISH=Only English" >>"$root/data/lang/en-us.ini"
echo "IDS_MD_UNUSED=x" >>"$root/data/lang/zh-cn.ini"

status=0
out=$("$check" "$root") || status=$?
expect() {
    if ! grep -qF -- "$1" <<<"$out"; then
        echo "not reported: $1"
        status=2
    fi
}
[ "$status" -eq 1 ] || { echo "exit status $status, expected 1"; status=2; }
expect 'src/gui/View.cpp:14: Chinese text without a key: "确定"'
expect 'src/gui/View.cpp:15: IDS_MD_ONLY_ENGLISH is missing from data/lang/zh-cn.ini'
expect 'data/lang/zh-cn.ini: IDS_MD_UNUSED is used by no source'
expect 'src/gui/View.cpp:16: IDS_MD_TITLE says "旧标题" in code but "标题" in zh-cn.ini'
expect 'known key ID_OPEN_SOCKET_FILE is used by a source now'
expect 'texts: 6 keys used, 6 Chinese literals, 5 faults'
if [ "$status" -ne 1 ]; then
    echo "$out"
    exit 1
fi
echo "check-texts found the five faults"

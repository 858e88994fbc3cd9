#!/usr/bin/env bash
# Checks that every text the program shows comes from the language files:
#  - every text key the sources ask for ("IDS_...", "ID_...", "IDC_..." literals under src/ and
#    host/) is in both data/lang/en-us.ini and data/lang/zh-cn.ini;
#  - every key of a language file is asked for by the sources, unless listed below as known;
#  - a Chinese string literal in the sources stands right after its key, as the text shown when
#    the key has none ("IDS_MD_CELL_MERGE", QStringLiteral("合并")); and the Chinese language
#    file gives that key the same text, so both say the same.
# Comments are not looked at. Prints each fault and the counts; fails when there is a fault.
# Usage: scripts/check-texts.sh [SOURCE_ROOT] (the repository by default)
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# Keys of the language files that no source names as a literal: "KEY: reason".
known=(
    "ID_OPEN_SOCKET_FILE: title of an open dialog for socket files, which the program only writes"
)

known_keys=$(for entry in "${known[@]}"; do echo "${entry%%:*}"; done)

find src host -name '*.cpp' -o -name '*.h' | sort |
    KNOWN="$known_keys" perl -CSD -e '
use strict;
use warnings;

my $keyPattern = qr/^(?:IDS?|IDC)_[A-Z0-9_]+$/;
my $section = "ModuleDesignUIPlugin";

sub load_language {
    my ($path) = @_;
    open(my $in, "<:encoding(UTF-8)", $path) or die "cannot read $path\n";
    my (%texts, $inSection);
    while (my $line = <$in>) {
        $line =~ s/\r?\n\z//;
        next if $line =~ /^\s*(?:[;#]|$)/;
        if ($line =~ /^\s*\[(.*)\]\s*$/) { $inSection = $1 eq $section; next; }
        next unless $inSection && $line =~ /^([^=]+?)\s*=\s*(.*?)\s*$/;
        $texts{$1} = $2;
    }
    return \%texts;
}

# The text a C++ string literal holds: prefix and quotes removed, simple escapes undone.
sub literal_text {
    my ($token) = @_;
    if ($token =~ /^(?:u8|u|U|L)?R"([^(\s]*)\((.*)\)\1"$/s) { return $2; }
    $token =~ s/^(?:u8|u|U|L)?"//;
    $token =~ s/"$//;
    $token =~ s/\\n/\n/g;
    $token =~ s/\\(["\\])/$1/g;
    return $token;
}

my %languages = ("en-us" => load_language("data/lang/en-us.ini"),
                 "zh-cn" => load_language("data/lang/zh-cn.ini"));
my %known = map { $_ => 1 } grep { length } split /\n/, $ENV{KNOWN};

my (%used, @faults, %fallbacks);
my $cjkLiterals = 0;
while (my $file = <STDIN>) {
    chomp $file;
    open(my $in, "<:encoding(UTF-8)", $file) or die "cannot read $file\n";
    local $/;
    my $source = <$in>;
    close $in;
    # Comments, raw and plain string literals, character literals, in the order they stand.
    my ($previousEnd, $previousKey, $lastFallback) = (0, undef, undef);
    while ($source =~ m{
            (//[^\n]*)
          | (/\*.*?\*/)
          | ((?:u8|u|U|L)?R"([^(\s]*)\(.*?\)\4")
          | ((?:u8|u|U|L)?"(?:[^"\\\n]|\\.)*")
          | (\x27(?:[^\x27\\\n]|\\.)*\x27)
        }gsx) {
        my ($start, $end) = ($-[0], $+[0]);
        my $literal = $3 // $5;
        next unless defined $literal;
        my $text = literal_text($literal);
        my $gap = substr($source, $previousEnd, $start - $previousEnd);
        my $line = 1 + (substr($source, 0, $start) =~ tr/\n//);
        $used{$text} //= "$file:$line" if $text =~ $keyPattern;
        my $accepted = 0;
        if ($text =~ /\p{Han}/) {
            ++$cjkLiterals;
            # The fallback stands right after its key: a comma and at most the call that makes
            # a string of it lie between them; a literal continued by another one goes along.
            if (defined $previousKey && $gap =~ /^\s*,\s*(?:[A-Za-z_][A-Za-z_0-9:]*\s*\(\s*)?$/) {
                $accepted = ["$file:$line", $text];
                push @{$fallbacks{$previousKey}}, $accepted;
            } elsif ($lastFallback && $gap =~ /^\s*$/) {
                $accepted = $lastFallback;
                $accepted->[1] .= $text;
            } else {
                push @faults, "$file:$line: Chinese text without a key: $literal";
            }
        }
        $previousKey = $text =~ $keyPattern ? $text : undef;
        $lastFallback = $accepted || undef;
        $previousEnd = $end;
    }
}
print STDERR "check-texts: the scan found no keys\n" and exit 1 unless %used;

for my $key (sort keys %used) {
    for my $name (sort keys %languages) {
        push @faults, "$used{$key}: $key is missing from data/lang/$name.ini"
            unless exists $languages{$name}{$key};
    }
}
for my $name (sort keys %languages) {
    for my $key (sort keys %{$languages{$name}}) {
        next if $used{$key};
        if ($known{$key}) { $known{$key} = 2; next; }
        push @faults, "data/lang/$name.ini: $key is used by no source";
    }
}
for my $key (sort keys %known) {
    push @faults, "check-texts.sh: known key $key is used by a source now or has gone; "
        . "remove it from the list" unless $known{$key} == 2;
}
for my $key (sort keys %fallbacks) {
    my $chinese = $languages{"zh-cn"}{$key};
    next unless defined $chinese;
    for my $fallback (@{$fallbacks{$key}}) {
        my ($where, $text) = @$fallback;
        (my $trimmed = $text) =~ s/^\s+|\s+$//g;
        push @faults, "$where: $key says \"$trimmed\" in code but \"$chinese\" in zh-cn.ini"
            unless $trimmed eq $chinese;
    }
}
print "$_\n" for @faults;
printf "texts: %d keys used, %d Chinese literals, %d faults\n",
    scalar(keys %used), $cjkLiterals, scalar(@faults);
exit(@faults ? 1 : 0);
'

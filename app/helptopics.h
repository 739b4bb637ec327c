#pragma once
// The built-in help: one topic per help context, written as Qt rich text. The help
// viewer shows them and the build writes the same texts into the HTML manual.

#include <QList>
#include <QString>

#include "gui/helpcontexts.h"

struct THelpTopic {
    QList<int> Contexts;  // the help context numbers that show this topic
    int Width;            // window width set before loading; 0 keeps the viewer's width
    QString Title;        // bold blue title line
    QString TitleSuffix;  // follows the title in plain type
    QString Body;         // rich text below the title
};

// Every topic once, in order of its first context number.
const QList<THelpTopic>& HelpTopics();
// The topic of a help context, or nullptr when no topic has it.
const THelpTopic* FindHelpTopic(int context);

// The topic of a context that no topic has ("Not a clue", with the number to report).
THelpTopic NotAClueTopic(int context);

// A complete rich text document of a topic: the shared style (title bold blue 13 pt,
// body 10 pt, code in codeFontFamily) around its title and body.
QString TopicDocument(const THelpTopic& topic, const QString& codeFontFamily);

// The manual: every topic with a body, in table order, behind a list of contents. The
// build writes it beside the program, where the default Web help address points.
QString HelpManual();

// The line after which the info file's lines are appended to the program topic.
QString InfoSeparatorLine();
// The info file read from the program's own folder.
inline constexpr char InfoFileName[] = "Vexlorn.info";

// Source snippets the help shows with the bytes they assemble to, starting at Address.
struct THelpExample {
    QString Source;  // one or more lines
    int Address;     // where the first byte lands
    QString Bytes;   // the bytes in hex, separated by blanks
    QString Note;    // rich text shown with the example, may be empty
};
const QList<THelpExample>& InstructionExamples();
const QList<THelpExample>& SyntaxExamples();

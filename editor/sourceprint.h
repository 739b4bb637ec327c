#pragma once
// Printing the source text as it is shown, with its highlight styles.

#include <memory>

class QPrinter;
class QTextDocument;

// A copy of document whose highlighting (kept in each line's layout, not in the text) has
// become real character formats, as printing needs it.
std::unique_ptr<QTextDocument> PrintableCopy(const QTextDocument& document);

void PrintSource(const QTextDocument& document, QPrinter& printer);

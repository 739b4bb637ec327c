#pragma once
// The help topics of the commands and windows added to the specified ones: going back in
// the history, the trace, breakpoints, speed, value cards, zoom and themes, the editor's
// tests and Debug menu, and the command line.

#include <QList>

#include "app/helptopics.h"

QList<THelpTopic> AddedTopics();

#include "Players.h"

TPlayerA::TPlayerA() : TDeck("TPlayerA", Side::A, QSize(380, 234), QPoint(19, 49)) {}

TPlayerB::TPlayerB() : TDeck("TPlayerB", Side::B, QSize(370, 234), QPoint(404, 53)) {}

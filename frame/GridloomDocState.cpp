#include "frame/GridloomDocState.h"

#include "document/CGridloomDoc.h"
#include "maze/TemplateKind.h"

int GridloomDocState::GridCount() const {
    return doc_.GridCount();
}

bool GridloomDocState::IsMazeMade() const {
    return doc_.mazeMade != 0;
}

bool GridloomDocState::IsCleared() const {
    return doc_.cleared != 0;
}

bool GridloomDocState::IsCircular() const {
    return doc_.Settings().kind == KIND_CIRCULAR;
}

#include "platform/CDocument.h"

#include <algorithm>
#include <filesystem>

CDocument::~CDocument() {
    for (CView* v : std::vector<CView*>(views_))
        v->SetDocument(nullptr);
}

void CDocument::AddView(CView* view) {
    if (std::find(views_.begin(), views_.end(), view) == views_.end())
        views_.push_back(view);
}

void CDocument::RemoveView(CView* view) {
    std::erase(views_, view);
}

void CDocument::UpdateAllViews(CView* sender, long hint) {
    // A view may detach itself while updating, so walk a copy.
    for (CView* v : std::vector<CView*>(views_))
        if (v != sender)
            v->OnUpdate(sender, hint);
}

void CDocument::FileDone(const std::string& path) {
    path_ = path;
    title_ = std::filesystem::path(path).filename().string();
    modified_ = false;
    ++changes_;
    if (fileListener_)
        fileListener_(path);
}

CView::~CView() {
    SetDocument(nullptr);
}

void CView::SetDocument(CDocument* doc) {
    if (document_ == doc)
        return;
    if (document_)
        document_->RemoveView(this);
    document_ = doc;
    if (document_)
        document_->AddView(this);
}

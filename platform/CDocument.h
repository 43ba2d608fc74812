#pragma once
#include "platform/CCmdTarget.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CView;

// The framework's document: a modified flag, a path and title, and the views that show it.
class CDocument : public CCmdTarget {
public:
    ~CDocument() override;

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& Views() const { return views_; }
    // Calls OnUpdate on every view but `sender`.
    void UpdateAllViews(CView* sender, long hint = 0);

    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true) {
        modified_ = modified;
        ++changes_;
    }
    // Counts edits, saves and loads, so that work begun for the document as it was (a
    // download) can tell it is no longer that document.
    std::uint64_t ChangeCount() const { return changes_; }

    const std::string& GetPathName() const { return path_; }
    void SetPathName(const std::string& path) { path_ = path; }
    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

    // The document was read from or written to `path`: it takes the file's path and name, is
    // no longer modified, and the file listener (the recent-file list) is told.
    void FileDone(const std::string& path);
    void SetFileListener(std::function<void(const std::string&)> listener) {
        fileListener_ = std::move(listener);
    }

private:
    std::vector<CView*> views_;
    bool modified_ = false;
    std::uint64_t changes_ = 0;
    std::string path_;
    std::string title_ = "Untitled";
    std::function<void(const std::string&)> fileListener_;
};

// The framework's view: knows its document and is told when it changes.
class CView : public CCmdTarget {
public:
    ~CView() override;
    CDocument* GetDocument() const { return document_; }
    // Attaches the view to `doc` (nullptr detaches).
    void SetDocument(CDocument* doc);

    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0); }
    virtual void OnUpdate(CView* sender, long hint) {
        (void)sender;
        (void)hint;
    }

private:
    CDocument* document_ = nullptr;
};

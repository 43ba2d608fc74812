#pragma once
#include "view/GestureDispatcher.h"
#include "view/GestureMarks.h"
#include "view/ILayerMouseTool.h"

class IToolView;
class CMouseGesture;

// Gesture strokes on the view. A left press with Ctrl, or the first press after the space
// bar, starts a stroke instead of working a tool; its release names the stroke and runs the
// command of its table row. The marks it leaves stay until view timer 1 fires.
class GestureCapture : public IGestureCapture {
public:
    enum Mode : int { kIdle = 0, kWaiting = -1, kRecording = 1 };
    static constexpr int kMarksTimer = 1;
    static constexpr int kMarksMilliseconds = 5000;
    static constexpr unsigned kSpace = ' ';

    explicit GestureCapture(IToolView& view);
    ~GestureCapture() override;
    GestureCapture(const GestureCapture&) = delete;
    GestureCapture& operator=(const GestureCapture&) = delete;

    // The application's recogniser; without one no stroke is taken.
    void SetRecognizer(CMouseGesture* gesture) { gesture_ = gesture; }
    int Mode() const { return mode_; }

    bool TakesLeftDown(UINT keyFlags, CPoint client) override;
    bool TakesMove(UINT keyFlags, CPoint client) override;
    bool TakesLeftUp(UINT keyFlags, CPoint client) override;
    void CaptureLost() override;
    // A typed character: the space bar arms (or disarms) a stroke without Ctrl.
    void OnChar(unsigned character);
    // View timer 1: the marks go.
    void OnTimer(int id);

    const GestureMarks& Marks() const { return marks_; }
    GestureDispatcher& Dispatcher() { return dispatcher_; }
    // The class of the last finished stroke (-1: none recognised).
    int LastClass() const { return lastClass_; }

private:
    void Finish();
    void MarksChanged();
    void ShowThumbnail(int cls);

    IToolView& view_;
    CMouseGesture* gesture_ = nullptr;
    GestureDispatcher dispatcher_;
    GestureMarks marks_;
    int mode_ = kIdle;
    // A press started a stroke: its moves and release belong to no tool, whatever the mode
    // became in between.
    bool strokeOpen_ = false;
    int lastClass_ = -1;
};

#pragma once

// Something outside a long image loop that may ask it to stop, such as the user pressing
// Escape while a picture loads. Long loops poll it between rows, so Poll must be cheap; once
// it has answered true it keeps answering true.
class StopSignal {
public:
    virtual ~StopSignal() = default;
    virtual bool Poll() = 0;
};

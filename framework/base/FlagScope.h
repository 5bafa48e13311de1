#pragma once
// Sets a flag for as long as it lives (raises it, unless told otherwise) and
// puts back what it was on every way out, so that scopes may nest.

class TFlagScope {
public:
    explicit TFlagScope(bool& flag, bool value = true) : flag_(flag), before_(flag) { flag_ = value; }
    ~TFlagScope() { flag_ = before_; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& flag_;
    bool before_;
};

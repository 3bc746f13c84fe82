#pragma once

// Receives the answer of a message box. Receivers are destroyed through their own classes, never through
// this interface.
class VDMessageBoxCallBack {
  public:
    // The result codes. "No" is 2 and "Ok" is 1, not their button ids.
    static constexpr int RESULT_YES = 0;
    static constexpr int RESULT_OK = 1;
    static constexpr int RESULT_NO = 2;
    static constexpr int RESULT_CANCEL = 3;

    virtual void onResult(int result) = 0;

  protected:
    VDMessageBoxCallBack() = default;
    VDMessageBoxCallBack(const VDMessageBoxCallBack&) = default;
    VDMessageBoxCallBack& operator=(const VDMessageBoxCallBack&) = default;
    ~VDMessageBoxCallBack() = default;
};

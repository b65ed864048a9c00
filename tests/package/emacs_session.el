;;; emacs_session.el --- Run by check_emacs.sh  -*- lexical-binding: t; -*-

;; Emacs set up as docs/editors.md says opens the line document SCENARIO_DOC, whose
;; line 3 holds a zone start that is not a multiple of 50.  What does not hold is
;; printed; Emacs ends with status 1 then, 0 when everything does.

(require 'cl-lib)

(defvar scenario-session-faults nil)

(defun scenario-session-check (ok what)
  (unless ok
    (push what scenario-session-faults)))

(defun scenario-session-wait (predicate seconds)
  "Let the server's messages arrive until PREDICATE holds or SECONDS pass."
  (let ((end (+ (float-time) seconds)))
    (while (and (not (funcall predicate)) (< (float-time) end))
      (accept-process-output nil 0.05))
    (funcall predicate)))

(find-file (getenv "SCENARIO_DOC"))
(scenario-session-check (eq major-mode 'scenario-mode) (format "major mode: %s" major-mode))
(scenario-session-check (eq (coding-system-base buffer-file-coding-system) 'windows-1252)
                        (format "read as: %s" buffer-file-coding-system))

;; eglot-ensure connects when the command that opened the file ends.
(run-hooks 'post-command-hook)
(scenario-session-check (scenario-session-wait #'eglot-current-server 20) "the server did not start")

;; The mistake, through flymake: an error at line 3, column 31 (30 from 0).
(when (eglot-current-server)
  (flymake-start)
  (scenario-session-check (scenario-session-wait #'flymake-diagnostics 20) "no diagnostics arrived")
  (scenario-session-check
   (cl-some (lambda (d)
              (save-excursion
                (goto-char (flymake-diagnostic-beg d))
                (and (= (line-number-at-pos) 3)
                     (= (current-column) 30)
                     (string-match-p "24510 is not a multiple of 50" (flymake-diagnostic-text d)))))
            (flymake-diagnostics))
   (format "no error at line 3, column 31: %S"
           (mapcar #'flymake-diagnostic-text (flymake-diagnostics))))

  ;; On the keyword of line 3: its fields.
  (goto-char (point-min))
  (forward-line 2)
  (forward-char 3)
  (let ((hover (format "%S" (jsonrpc-request (eglot-current-server) :textDocument/hover
                                             (eglot--TextDocumentPositionParams)))))
    (scenario-session-check (string-match-p "zone start" hover) (concat "hover: " hover)))

  ;; Formatting, then the document is saved as it was read.
  (eglot-format-buffer)
  (scenario-session-check (buffer-modified-p) "formatting changed nothing")
  (save-buffer))

(dolist (fault (reverse scenario-session-faults))
  (princ (concat fault "\n")))
(kill-emacs (if scenario-session-faults 1 0))

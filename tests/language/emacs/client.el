;;; client.el --- eglot, Emacs's language client, against "scenario lsp"  -*- lexical-binding: t -*-
;; Opens the line document (LF line ends, with a mistake), waits for the diagnostics,
;; asks for a hover, formats the buffer and saves it. Whatever does not hold is written
;; to SCENARIO_OUT, one line each; "ok" when everything does.
(require 'package)
;; Debian's packages of Emacs Lisp (elpa-eglot), which -Q leaves out; none of the user's.
(setq package-directory-list '("/usr/share/emacs/site-lisp/elpa")
      package-user-dir (make-temp-file "scenario-elpa" t))
(package-initialize)
(require 'eglot)

(defvar scenario-failures nil)
(defun scenario-check (ok what)
  (unless ok (push what scenario-failures)))
(defun scenario-wait (done seconds)
  "Reads the server's messages until DONE holds or SECONDS have passed."
  (let ((until (+ (float-time) seconds)))
    (while (and (not (funcall done)) (< (float-time) until))
      (accept-process-output nil 0.05))
    (funcall done)))

(define-derived-mode scenario-mode text-mode "Scenario")
(add-to-list 'eglot-server-programs `(scenario-mode . (,(getenv "SCENARIO_BIN") "lsp")))
(setq eglot-sync-connect 10
      eglot-connect-timeout 20)

(condition-case failure
    (progn
      (find-file (getenv "SCENARIO_DOC"))
      (scenario-mode)
      (scenario-check (eq (coding-system-eol-type buffer-file-coding-system) 0)
                      "the document was not read with LF line ends")
      (apply #'eglot (eglot--guess-contact))
      (scenario-check (eglot-current-server) "eglot did not connect")

      ;; The mistake: line 3's zone start, 24510, is not a multiple of 50.
      (scenario-check (scenario-wait (lambda () (or eglot--diagnostics (flymake-diagnostics))) 10)
                      "no diagnostics arrived")
      (let ((found nil))
        (dolist (d (or (flymake-diagnostics) eglot--diagnostics))
          (when (and (string-match-p "24510 is not a multiple of 50" (flymake-diagnostic-text d))
                     (= (line-number-at-pos (flymake-diagnostic-beg d)) 3)
                     (eq (flymake-diagnostic-type d) 'eglot-error))
            (setq found t)))
        (scenario-check found (format "no error on line 3: %S"
                                      (mapcar #'flymake-diagnostic-text
                                              (or (flymake-diagnostics) eglot--diagnostics)))))

      ;; On the keyword of line 3, its fields; as plain text, which is all eglot asks for
      ;; here (no Markdown mode installed).
      (goto-char (point-min))
      (forward-line 2)
      (forward-char 3)
      (let* ((hover (jsonrpc-request (eglot--current-server-or-lose) :textDocument/hover
                                     (eglot--TextDocumentPositionParams)))
             (contents (plist-get hover :contents)))
        (scenario-check (equal (plist-get contents :kind) "plaintext")
                        (format "hover not plain text: %S" contents))
        (scenario-check (string-match-p (regexp-quote "1. zone start\n2. zone end\n3. zone flag\n")
                                        (or (plist-get contents :value) ""))
                        (format "hover: %S" contents)))

      (eglot-format-buffer)
      (scenario-check (not (string-match-p "\r" (buffer-string)))
                      "formatting brought a CR into the buffer")
      (save-buffer)
      (eglot-shutdown (eglot-current-server)))
  (error (push (format "failed: %S" failure) scenario-failures)))

(with-temp-file (getenv "SCENARIO_OUT")
  (insert (if scenario-failures
              (mapconcat #'identity (reverse scenario-failures) "\n")
            "ok")))
(kill-emacs 0)
